// How exactly the patrol finds its positions again: the real main window, offscreen, patrols three
// positions (X and Y) for five cycles against the simulated head at its default speeds and
// latencies, over the serial line and over the camera relay, idle and with both cores kept busy,
// and once more over a camera relay that answers (and applies) every request 3 s late.
// Each user click is recorded at the head's true pan and tilt; a position at X lies X / 100
// degrees from the left end stop, and Y lies Y / 1000 seconds of tilt travel above the start.
// Every run is repeated with the arrival notifier switched off, which leaves the arrival test to
// the 100 ms patrol tick as the first design had it, for comparison in the same run.
//
// Each run is a child process of its own (a fresh profile and window); the parent collects.
#include "app/CAppDlg.h"
#include "app/CPantiroApp.h"
#include "app/ProcessState.h"
#include "base/Settings.h"
#include "bench/BenchHome.h"
#include "bench/BusyCores.h"
#include "motion/CameraRequest.h"
#include "motion/TickClock.h"
#include "motion/TickThread.h"
#include "platform/DialogBuilder.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/RequestLog.h"
#include "sim/UserClicks.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCycles = 5;
constexpr int kSlowCycles = 2;
constexpr int kSlowCameraMs = 3000;
struct Target {
    int x, y;
};
// Off the 100 ms grid of the patrol's tick, as the New button stores them; the last one brings
// the tilt back, which the drive to zero does not reference.
constexpr Target kTargets[] = {{853, 113}, {2437, 287}, {1571, 0}};
constexpr int kPositions = 3;
constexpr int kTimeoutMs = 180000;
constexpr double kPanDegPerUnit = 0.01;   // the head's 10 deg/s
constexpr double kTiltDegPerUnit = 0.005; // the head's 5 deg/s

// What reached the head and when: the serial line's bytes, or the relay requests at the camera.
class HeadCommands {
public:
    void add(char digit)
    {
        const Clock::time_point at = Clock::now();
        std::lock_guard lock(mutex_);
        commands_.push_back({at, digit});
    }
    struct Command {
        Clock::time_point at;
        char digit;
    };
    std::vector<Command> all() const
    {
        std::lock_guard lock(mutex_);
        return commands_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Command> commands_;
};

// The tick thread's clock: steady time that notes, after each wake-up's ticks, when it woke and
// where both counters stood. The samples are kept in room made beforehand: the tick thread
// never allocates.
class RecordingTickClock final : public TickClock {
public:
    struct Sample {
        Clock::time_point at;
        int32_t x, y;
    };
    explicit RecordingTickClock(const MotionState& motion) : motion_(motion), samples_(100 * 60 * 10) {}

    Clock::time_point now() override
    {
        woke_ = Clock::now();
        return woke_;
    }
    void sleepUntil(Clock::time_point deadline) override
    {
        const size_t n = count_.load(std::memory_order_relaxed);
        if (n < samples_.size()) {
            samples_[n] = {woke_, motion_.posX.load(), motion_.posY.load()};
            count_.store(n + 1, std::memory_order_release);
        }
        std::this_thread::sleep_until(deadline);
    }
    std::vector<Sample> samples() const
    {
        return {samples_.begin(), samples_.begin() + static_cast<long>(count_.load(std::memory_order_acquire))};
    }

private:
    const MotionState& motion_;
    Clock::time_point woke_;
    std::vector<Sample> samples_;
    std::atomic<size_t> count_{0};
};

// A pseudo-terminal as the head's serial line: each byte is noted and goes to the head.
class SerialLine {
public:
    SerialLine(HeadModel& head, HeadCommands& commands) : head_(head), commands_(commands)
    {
        if (::openpty(&master_, &device_, nullptr, nullptr, nullptr) != 0)
            return;
        termios settings{};
        ::tcgetattr(device_, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(device_, TCSANOW, &settings);
        char name[256] = {};
        ::ttyname_r(device_, name, sizeof name);
        path_ = QString::fromLocal8Bit(name);
        reader_ = std::thread([this] { read(); });
    }
    ~SerialLine()
    {
        stop_ = true;
        if (reader_.joinable())
            reader_.join();
        ::close(master_);
        ::close(device_);
    }
    QString path() const { return path_; }

private:
    void read()
    {
        while (!stop_) {
            pollfd ready{master_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0)
                continue;
            char bytes[64];
            const ssize_t n = ::read(master_, bytes, sizeof bytes);
            for (ssize_t i = 0; i < n; ++i) {
                commands_.add(bytes[i]);
                head_.receive(bytes[i]);
            }
        }
    }

    HeadModel& head_;
    HeadCommands& commands_;
    int master_ = -1;
    int device_ = -1;
    QString path_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

// The camera's request log written into a FIFO: each relay request is noted as it arrives.
class RelayWatch {
public:
    RelayWatch(const QString& fifo, HeadCommands& commands) : commands_(commands)
    {
        ::mkfifo(qPrintable(fifo), 0600);
        reader_ = std::thread([this, path = fifo.toStdString()] { read(path); });
        log_.open(fifo); // meets the reader's open
    }
    ~RelayWatch()
    {
        log_.append("end\r\n");
        reader_.join();
    }
    RequestLog* log() { return &log_; }

private:
    void read(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY);
        std::string pending;
        char chunk[4096];
        ssize_t n;
        while ((n = ::read(fd, chunk, sizeof chunk)) > 0) {
            pending.append(chunk, static_cast<size_t>(n));
            for (size_t end; (end = pending.find("\r\n")) != std::string::npos; pending.erase(0, end + 2)) {
                const std::string line = pending.substr(0, end);
                if (line == "end") {
                    ::close(fd);
                    return;
                }
                const size_t text = line.find("rs232outtext=");
                if (line.starts_with("GET ") && text != std::string::npos && text + 13 < line.size())
                    commands_.add(line[text + 13]);
            }
        }
        ::close(fd);
    }

    HeadCommands& commands_;
    RequestLog log_;
    std::thread reader_;
};

// Milliseconds from the tick whose counter first reached a position's target to the stop that
// reached the head. The drives come in a known order: the reference drive once, then per cycle
// the drive to zero and, for each position, X and then Y.
std::vector<double> StopDelays(const std::vector<HeadCommands::Command>& commands,
                               const std::vector<RecordingTickClock::Sample>& samples)
{
    std::vector<double> delays;
    int drives = 0;
    Clock::time_point lastStop{};
    for (size_t i = 0; i + 1 < commands.size(); ++i) {
        const char digit = commands[i].digit;
        if (digit == '5') {
            lastStop = commands[i].at;
            continue;
        }
        const int inCycle = drives++ - 1; // -1: the reference drive
        if (inCycle < 0 || inCycle % 7 == 0 || commands[i + 1].digit != '5')
            continue;
        const Target& target = kTargets[(inCycle % 7 - 1) / 2];
        const bool alongX = (inCycle % 7 - 1) % 2 == 0;
        const bool up = digit == '6' || digit == '8';
        for (const RecordingTickClock::Sample& sample : samples) {
            if (sample.at <= lastStop)
                continue;
            const int32_t counter = alongX ? sample.x : sample.y;
            const int32_t goal = alongX ? target.x : target.y;
            if (up ? counter >= goal : counter <= goal) {
                delays.push_back(std::chrono::duration<double, std::milli>(commands[i + 1].at - sample.at).count());
                break;
            }
        }
    }
    return delays;
}

void WriteSettings(const QString& comm)
{
    SettingsStore store;
    store.write(u"Language"_s, u"0"_s);
    store.write(u"Comm"_s, comm + u",9600"_s);
    store.write(u"CommAdr"_s, u"127.0.0.1"_s);
    store.write(u"Times"_s, u"300,0,1,2"_s); // dwell ms, pause s, extra to zero s, reference s
    store.write(u"Options"_s, u"1,0,0"_s);   // drive Y, no sound, no auto start
    QFile list(u"pantiro.lst"_s);
    list.open(QIODevice::WriteOnly);
    for (int i = 0; i < kPositions; ++i)
        list.write(QStringLiteral("P%1\t%2\t%3\r\n")
                       .arg(i + 1)
                       .arg(kTargets[i].x, 5, 10, QLatin1Char('0'))
                       .arg(kTargets[i].y, 5, 10, QLatin1Char('0'))
                       .toUtf8());
}

// One patrol of the real window; prints "click <position> <pan error> <tilt error>" and
// "stop <ms>" lines for the parent.
int RunOnce(int argc, char** argv, bool serial, bool arrivalNotifier, const std::string& load)
{
    const bool loaded = load == "loaded";
    // "slow": the camera answers every request 3 s late, and applies it only then.
    const bool slow = load == "slow";
    const int cycles = slow ? kSlowCycles : kCycles;
    const auto home = PrepareBenchHome();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Korvath"_s);
    QCoreApplication::setApplicationName(u"pantiro"_s);
    InitCameraRequests();

    HeadModel::Settings headSettings;
    headSettings.startPan = 10.0;
    HeadModel head(headSettings);
    Panorama panorama(QSize(160, 120));
    UserClicks clicks;
    Faults faults(Faults::Settings{slow ? kSlowCameraMs : 0});
    HeadCommands commands;
    std::optional<SerialLine> line;
    std::optional<RelayWatch> relay;
    if (serial)
        line.emplace(head, commands);
    else
        relay.emplace(home->filePath(u"requests"_s), commands);
    CameraServer camera(head, panorama, clicks, faults, relay ? relay->log() : nullptr);
    if (!camera.start(0) || (line && line->path().isEmpty())) {
        std::fprintf(stderr, "the simulated camera or the serial line did not start\n");
        return 1;
    }
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(camera.port()).constData(), 1);
    WriteSettings(line ? line->path() : u"Kein"_s);

    RecordingTickClock tickClock(processState().motion);
    TickThread::overrideClock(&tickClock);
    CPantiroApp app;
    if (!app.InitInstance())
        return 1;
    CAppDlg& window = *app.mainDialog();
    if (!arrivalNotifier)
        window.findChild<QSocketNotifier*>(u"arrival"_s)->setEnabled(false);

    std::optional<BusyCores> busy;
    if (loaded)
        busy.emplace(2);
    Control<QPushButton>(window, 170)->click();
    // The simulator keeps only its last clicks: collect them by number as they come. The window
    // runs in a plain event loop, as in the program (QTest::qWait would look at events only
    // every 10 ms).
    std::map<int, UserClicks::Click> byNumber;
    QEventLoop loop;
    QTimer collect;
    QObject::connect(&collect, &QTimer::timeout, [&] {
        for (const UserClicks::Click& click : clicks.last())
            byNumber.emplace(click.number, click);
        if (static_cast<int>(byNumber.size()) >= cycles * kPositions)
            loop.quit();
    });
    collect.start(50);
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    Control<QPushButton>(window, 171)->click();
    busy.reset();
    if (static_cast<int>(byNumber.size()) < cycles * kPositions) {
        std::fprintf(stderr, "only %zu clicks in %d s\n", byNumber.size(), kTimeoutMs / 1000);
        return 1;
    }
    int index = 0;
    for (const auto& [number, click] : byNumber) {
        const Target& target = kTargets[index++ % kPositions];
        std::printf("click %d %.4f %.4f\n", (index - 1) % kPositions, click.pan - target.x * kPanDegPerUnit,
                    click.tilt - target.y * kTiltDegPerUnit);
    }
    for (const double delay : StopDelays(commands.all(), tickClock.samples()))
        std::printf("stop %.3f\n", delay);
    std::fflush(stdout);
    QTest::qWait(200); // the last stop reaches the head
    return 0;
}

struct Result {
    double worstError = 0.0;
    double spread = 0.0;
    std::vector<double> stops;
};

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const size_t at = static_cast<size_t>(std::ceil(share * static_cast<double>(values.size()))) - 1;
    return values[std::min(at, values.size() - 1)];
}

std::optional<Result> RunChild(const QString& route, const QString& design, const QString& load)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {u"--run"_s, route, design, load});
    if (!child.waitForFinished(kTimeoutMs + 60000) || child.exitCode() != 0)
        return std::nullopt;
    Result result;
    double lowest[kPositions][2];
    double highest[kPositions][2];
    std::fill(&lowest[0][0], &lowest[0][0] + 2 * kPositions, 1e9);
    std::fill(&highest[0][0], &highest[0][0] + 2 * kPositions, -1e9);
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "click" && words.size() == 4) {
            const int position = words[1].toInt();
            for (int axis = 0; axis < 2; ++axis) {
                const double error = words[2 + axis].toDouble();
                result.worstError = std::max(result.worstError, std::abs(error));
                lowest[position][axis] = std::min(lowest[position][axis], error);
                highest[position][axis] = std::max(highest[position][axis], error);
            }
        } else if (words.value(0) == "stop" && words.size() == 2) {
            result.stops.push_back(words[1].toDouble());
        }
    }
    for (int i = 0; i < kPositions; ++i)
        for (int axis = 0; axis < 2; ++axis)
            result.spread = std::max(result.spread, highest[i][axis] - lowest[i][axis]);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--run")
        return RunOnce(argc, argv, std::string(argv[2]) == "serial", std::string(argv[3]) == "tick", argv[4]);

    QCoreApplication application(argc, argv);
    // design "tick": the stop at the dead-reckoning tick that reaches the target; "patrol": at
    // the next 100 ms patrol tick.
    std::map<QString, Result> results;
    std::printf("%-7s %-7s %-7s %10s %10s %14s %14s\n", "route", "design", "load", "error deg", "spread deg",
                "stop p50 ms", "stop p99 ms");
    for (const QString& load : {u"idle"_s, u"loaded"_s}) {
        for (const QString& route : {u"serial"_s, u"relay"_s}) {
            for (const QString& design : {u"tick"_s, u"patrol"_s}) {
                const std::optional<Result> result = RunChild(route, design, load);
                if (!result) {
                    std::fprintf(stderr, "the %s run over the %s failed\n", qPrintable(design), qPrintable(route));
                    return 1;
                }
                std::printf("%-7s %-7s %-7s %10.2f %10.2f %14.1f %14.1f\n", qPrintable(route), qPrintable(design),
                            qPrintable(load), result->worstError, result->spread, Percentile(result->stops, 0.5),
                            Percentile(result->stops, 0.99));
                std::fflush(stdout);
                results[load + route + design] = *result;
            }
        }
    }
    const std::optional<Result> slow = RunChild(u"relay"_s, u"tick"_s, u"slow"_s);
    if (!slow) {
        std::fprintf(stderr, "the run over a slow camera relay failed\n");
        return 1;
    }
    std::printf("%-7s %-7s %-7s %10.2f %10.2f %14.1f %14.1f\n", "relay", "tick", "slow", slow->worstError, slow->spread,
                Percentile(slow->stops, 0.5), Percentile(slow->stops, 0.99));
    std::printf("figure: patrol-click-error-deg-slow-camera = %.2f deg\n", slow->worstError);
    const auto worst = [&](const QString& load, const QString& design, double Result::*field) {
        return std::max(results[load + u"serial"_s + design].*field, results[load + u"relay"_s + design].*field);
    };
    const auto p99 = [&](const QString& key) { return Percentile(results[key].stops, 0.99); };
    for (const QString& design : {u"tick"_s, u"patrol"_s}) {
        const std::string suffix = design == u"tick"_s ? "" : "-100ms-design";
        std::printf("figure: patrol-click-error-deg%s = %.2f deg\n", suffix.c_str(),
                    worst(u"idle"_s, design, &Result::worstError));
        std::printf("figure: patrol-click-spread-deg%s = %.2f deg\n", suffix.c_str(),
                    worst(u"idle"_s, design, &Result::spread));
        std::printf("figure: patrol-click-error-deg-loaded%s = %.2f deg\n", suffix.c_str(),
                    worst(u"loaded"_s, design, &Result::worstError));
        std::printf("figure: stop-delay-ms-p99%s = %.1f ms\n", suffix.c_str(), p99(u"idleserial"_s + design));
        std::printf("figure: stop-delay-ms-p99-relay%s = %.1f ms\n", suffix.c_str(), p99(u"idlerelay"_s + design));
        std::printf("figure: stop-delay-ms-p99-loaded%s = %.1f ms\n", suffix.c_str(), p99(u"loadedserial"_s + design));
    }
    std::printf("(%d cycles of %d positions per run; errors are the worst click over serial line and camera relay, "
                "pan and tilt; the stop delay runs from the tick that reached the target to the stop at the head: "
                "the byte on the pseudo-terminal, or the relay request at the camera; -100ms-design: the arrival "
                "test left to the 100 ms patrol tick, as before, in the same run)\n",
                kCycles, kPositions);
    return 0;
}
