// Days of unattended patrol, pressed into ten minutes: the real pantiro (offscreen) patrols three
// positions over the serial line with the live picture on, against the simulator in this
// process, while camera faults, a closed camera port and a pulled serial line come and go every
// few seconds. PANTIRO_SOAK_SECONDS shortens the run for a smoke test.
#include "bench/soak/FaultSchedule.h"
#include "bench/startup/ChildProcess.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/SerialHead.h"
#include "sim/UserClicks.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Duration = FaultSchedule::Duration;

namespace {

constexpr int kDefaultSeconds = 600;
constexpr unsigned kSeed = 20261207;
constexpr Duration kPoll = 10ms;
// From the stop at a position to its user click: the dwell and a few ticks, with room to spare.
constexpr Duration kClickWithin = 1500ms;

enum class FaultKind { Camera, CameraPortClosed, SerialGone };

struct Fault {
    FaultKind kind;
    std::multimap<std::string, std::string> camera;
};

const Fault kFaults[] = {
    {FaultKind::Camera, {{"delay", "3000"}}},
    {FaultKind::Camera, {{"status", "404"}}},
    {FaultKind::Camera, {{"status", "500"}}},
    {FaultKind::Camera, {{"picture", "garbage"}}},
    {FaultKind::Camera, {{"picture", "truncated"}}},
    {FaultKind::Camera, {{"picture", "oversized"}, {"bytes", "2000000"}}},
    {FaultKind::Camera, {{"picture", "close"}}},
    {FaultKind::CameraPortClosed, {}},
    {FaultKind::SerialGone, {}},
};

// Threads of a process that Qt's painting pool started (the raster engine fills large areas on
// them); idle ones end after half a minute.
int PaintPoolThreads(pid_t pid)
{
    int count = 0;
    std::error_code ignored;
    for (const fs::directory_entry& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        count += name == "Thread (pooled)" ? 1 : 0;
    }
    return count;
}

Duration SoakLength()
{
    const char* text = std::getenv("PANTIRO_SOAK_SECONDS");
    const int seconds = text ? std::atoi(text) : 0;
    return std::chrono::seconds(seconds > 0 ? seconds : kDefaultSeconds);
}

// The simulator's camera and head, with the faults the soak switches.
class Simulator {
public:
    explicit Simulator(const QString& link) : link_(link)
    {
        ready_ = camera_->start(0) && line_->open(link_);
        port_ = camera_->port();
    }

    bool ready() const { return ready_; }
    quint16 port() const { return port_; }
    HeadModel& head() { return *head_; }
    int clicks() const { return clicks_.count(); }

    void switchOn(const Fault& fault)
    {
        switch (fault.kind) {
        case FaultKind::Camera:
            faults_.update(fault.camera);
            break;
        case FaultKind::CameraPortClosed:
            camera_.reset();
            break;
        case FaultKind::SerialGone:
            line_->close();
            break;
        }
    }

    void switchOff(const Fault& fault)
    {
        switch (fault.kind) {
        case FaultKind::Camera:
            faults_.update({{"clear", ""}});
            break;
        case FaultKind::CameraPortClosed:
            camera_ = std::make_unique<CameraServer>(*head_, panorama_, clicks_, faults_);
            if (!camera_->start(port_))
                std::fprintf(stderr, "the camera did not come back on port %u\n", port_);
            break;
        case FaultKind::SerialGone:
            if (!line_->open(link_))
                std::fprintf(stderr, "the serial line did not come back\n");
            break;
        }
    }

private:
    QString link_;
    Panorama panorama_; // 640 x 480
    UserClicks clicks_;
    Faults faults_;
    std::unique_ptr<HeadModel> head_ = std::make_unique<HeadModel>(HeadModel::Settings{.startPan = 10.0});
    std::unique_ptr<CameraServer> camera_ = std::make_unique<CameraServer>(*head_, panorama_, clicks_, faults_);
    std::unique_ptr<SerialHead> line_ = std::make_unique<SerialHead>(*head_);
    quint16 port_ = 0;
    bool ready_ = false;
};

// A profile and working directory of pantiro's own: the serial line and the camera of the
// simulator, short patrol times, the patrol started with the program, three positions to the right.
std::vector<std::string> PrepareProfile(const fs::path& root, const QString& link, quint16 port)
{
    fs::create_directories(root / "config/Korvath");
    fs::create_directories(root / "runtime");
    fs::create_directories(root / "work");
    fs::permissions(root / "runtime", fs::perms::owner_all);
    std::ofstream(root / "config/Korvath/pantiro.conf")
        << "[Settings]\nLanguage=0\nComm=\"" << link.toStdString() << ",9600\"\nCommAdr=127.0.0.1\n"
        << "Times=\"150,0,0,1\"\nOptions=\"0,0,1\"\n";
    std::ofstream(root / "work/pantiro.lst", std::ios::binary)
        << "P1\t00300\t00000\r\nP2\t00600\t00000\r\nP3\t00900\t00000\r\n";
    return {"HOME=" + root.string(),
            "XDG_CONFIG_HOME=" + (root / "config").string(),
            "XDG_RUNTIME_DIR=" + (root / "runtime").string(),
            "QT_QPA_PLATFORM=offscreen",
            "QT_LOGGING_RULES=qt.gui.imageio.jpeg.warning=false",
            "PANTIRO_CAMERA_PORT=" + std::to_string(port)};
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QTemporaryDir home;
    const fs::path root = home.path().toStdString();
    const QString link = QString::fromStdString((root / "head").string());
    Simulator simulator(link);
    if (!home.isValid() || !simulator.ready()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    const std::vector<std::string> environment = PrepareProfile(root, link, simulator.port());
    ChildProcess pantiro(PANTIRO_EXE, {}, environment, (root / "work").string());

    const Duration total = SoakLength();
    const FaultSchedule schedule(total, static_cast<int>(std::size(kFaults)), kSeed);
    const Duration rssBaseAt = std::min<Duration>(60s, total / 2);
    std::vector<Duration> positionStops; // a stop after a drive to the right: the patrol is at a position
    std::vector<Duration> clickTimes;
    HeadMotion lastCommand = HeadMotion::Stop;
    int clicksSeen = simulator.clicks();
    double rssBase = 0;
    double rss = 0;
    int threadsMax = 0;
    int poolThreadsMax = 0;
    Duration nextSample = 1s;
    size_t window = 0;
    bool faulty = false;
    const auto start = std::chrono::steady_clock::now();
    Duration elapsed{0};
    while ((elapsed = std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - start)) < total
           && pantiro.running()) {
        const std::vector<FaultSchedule::Window>& windows = schedule.windows();
        if (window < windows.size() && !faulty && elapsed >= windows[window].begin) {
            simulator.switchOn(kFaults[windows[window].fault]);
            faulty = true;
        } else if (faulty && elapsed >= windows[window].end) {
            simulator.switchOff(kFaults[windows[window].fault]);
            faulty = false;
            ++window;
        }
        const HeadMotion command = simulator.head().state().lastCommand;
        if (lastCommand == HeadMotion::Right && command == HeadMotion::Stop)
            positionStops.push_back(elapsed);
        lastCommand = command;
        for (const int clicks = simulator.clicks(); clicksSeen < clicks; ++clicksSeen)
            clickTimes.push_back(elapsed);
        if (elapsed >= nextSample) {
            threadsMax = std::max(threadsMax, pantiro.threadCount());
            poolThreadsMax = std::max(poolThreadsMax, PaintPoolThreads(pantiro.pid()));
            rss = pantiro.residentMiB();
            if (rssBase == 0 && elapsed >= rssBaseAt)
                rssBase = rss;
            if (nextSample % 60s == 0s)
                std::printf("minute %lld: resident %.2f MiB, %d threads\n",
                            static_cast<long long>(nextSample / 60s), rss, pantiro.threadCount());
            nextSample += 1s;
        }
        std::this_thread::sleep_for(kPoll);
    }
    const bool survived = pantiro.running();
    if (faulty)
        simulator.switchOff(kFaults[schedule.windows()[window].fault]);
    pantiro.stop();

    int expected = 0;
    int missed = 0;
    for (const Duration stop : positionStops) {
        const Duration by = stop + kClickWithin;
        if (by > total || schedule.touchesFault(stop, by))
            continue;
        ++expected;
        const bool clicked = std::any_of(clickTimes.begin(), clickTimes.end(),
                                         [&](Duration click) { return click > stop && click <= by; });
        missed += clicked ? 0 : 1;
    }
    std::printf("%lld s, %zu fault windows, %zu stops at positions, %d of them outside faults, %zu clicks seen\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(total).count()),
                schedule.windows().size(), positionStops.size(), expected, clickTimes.size());
    std::printf("threads at most %d, of them Qt's painting pool at most %d\n", threadsMax, poolThreadsMax);
    std::printf("resident %.1f MiB after %lld s, %.1f MiB at the end\n", rssBase,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(rssBaseAt).count()), rss);
    if (!survived || expected == 0) {
        std::printf("pantiro %s\n", survived ? "never reached a position" : "ended during the soak");
        return 1;
    }
    std::printf("figure: soak-rss-growth-mb = %.2f MB\n", rss - rssBase);
    std::printf("figure: soak-threads-max = %d threads\n", threadsMax);
    std::printf("figure: soak-clicks-missed = %d clicks\n", missed);
    return 0;
}
