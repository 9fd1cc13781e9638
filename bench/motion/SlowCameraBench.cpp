// The window and the head against a camera slow to answer every request: when the stop leaves
// after the release of an arrow, how far a 0.2 s click turns the simulated head, the longest wait
// of the window's thread while the operator clicks, and how soon a signal ends the program
// while a camera exchange hangs. Each scenario runs in a child process of its own (a fresh
// profile and window); the parent prints the figures.
#include "app/AppDlgTemplate.h"
#include "app/CAppDlg.h"
#include "app/CPantiroApp.h"
#include "base/Settings.h"
#include "bench/BenchHome.h"
#include "bench/startup/ChildProcess.h"
#include "motion/CameraRequest.h"
#include "platform/DialogBuilder.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/RawHttpServer.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 3;
constexpr auto kClick = 200ms;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// A camera relay that answers every request after `delay`.
RawHttpServer::Responder AnswerAfter(std::chrono::milliseconds delay)
{
    return [delay](const RawHttpRequest&) {
        std::this_thread::sleep_for(delay);
        return RawHttpResponse::answer("HTTP/1.1 200 OK");
    };
}

void WriteSettings(quint16 cameraPort, const QString& options = u"0,0,0"_s)
{
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(cameraPort).constData(), 1);
    SettingsStore store;
    store.write(u"Language"_s, u"0"_s);
    store.write(u"Comm"_s, u"Kein,9600"_s);
    store.write(u"CommAdr"_s, u"127.0.0.1"_s);
    store.write(u"Options"_s, options);
}

// A fresh profile and the real window of this process, with the camera's picture off: only the
// steering reaches the camera.
class BenchWindow {
public:
    BenchWindow(int& argc, char** argv) : home_(PrepareBenchHome()), application_(argc, argv) { InitCameraRequests(); }

    // Null when the window did not start, or the stop every start sends first was not answered.
    CAppDlg* open(quint16 cameraPort)
    {
        WriteSettings(cameraPort);
        if (!app_.InitInstance())
            return nullptr;
        CAppDlg* window = app_.mainDialog();
        window->findChild<QTimer*>(u"timer500"_s)->stop();
        const bool settled = QTest::qWaitFor([window] { return window->commandsSettled(); }, 10000);
        return settled ? window : nullptr;
    }

private:
    std::unique_ptr<QTemporaryDir> home_;
    QApplication application_;
    CPantiroApp app_;
};

// Presses the Right arrow for `held`, with the window's events running, and returns the release.
Clock::time_point ClickRight(CAppDlg& window, std::chrono::milliseconds held)
{
    const QPoint right = FindControl(window, AppDlgId::ArrowRight)->geometry().center();
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, right);
    QTest::qWait(static_cast<int>(held.count()));
    const Clock::time_point released = Clock::now();
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, right);
    return released;
}

bool IsStop(const RawHttpRequest& request)
{
    return request.requestLine().find("rs232outtext=5") != std::string::npos;
}

// Milliseconds from each release to the stop request at a camera that answers in 3 s.
int RunStopAfterRelease(int argc, char** argv)
{
    BenchWindow bench(argc, argv);
    RawHttpServer camera(AnswerAfter(3000ms));
    CAppDlg* window = bench.open(camera.port());
    if (window == nullptr)
        return 1;
    for (int round = 0; round < kRounds; ++round) {
        const size_t before = camera.requests().size();
        const Clock::time_point released = ClickRight(*window, kClick);
        std::optional<Clock::time_point> stopAt;
        const bool seen = QTest::qWaitFor(
            [&] {
                const std::vector<RawHttpRequest> requests = camera.requests();
                for (size_t i = before; i < requests.size() && !stopAt; ++i)
                    if (IsStop(requests[i]))
                        stopAt = requests[i].received;
                return stopAt.has_value();
            },
            10000);
        if (!seen)
            return 1;
        std::printf("stop-after-release %.3f\n", Ms(*stopAt - released));
        QTest::qWait(7000); // every answer in, the stop sent once more answered too
    }
    return 0;
}

// Degrees the simulated head turns for a 0.2 s click when the camera applies each command 3 s late.
int RunHeadTravel(int argc, char** argv)
{
    BenchWindow bench(argc, argv);
    HeadModel head{HeadModel::Settings{}};
    Panorama panorama(QSize(160, 120));
    UserClicks clicks;
    Faults faults(Faults::Settings{3000});
    CameraServer camera(head, panorama, clicks, faults);
    if (!camera.start(0))
        return 1;
    CAppDlg* window = bench.open(camera.port());
    if (window == nullptr)
        return 1;
    for (int round = 0; round < kRounds; ++round) {
        const double before = head.state().pan;
        ClickRight(*window, kClick);
        QTest::qWait(7500);
        std::printf("head-travel %.3f\n", head.state().pan - before);
    }
    return 0;
}

// The longest gap between two 10 ms timer events of the window's thread while an arrow is clicked
// ten times and the camera answers every request in 5 s.
int RunGuiStall(int argc, char** argv)
{
    BenchWindow bench(argc, argv);
    RawHttpServer camera(AnswerAfter(5000ms));
    CAppDlg* window = bench.open(camera.port());
    if (window == nullptr)
        return 1;
    Clock::time_point last = Clock::now();
    Clock::duration longest{};
    QTimer pulse;
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
    });
    pulse.start(10);
    QTest::qWait(100);
    for (int click = 0; click < 10; ++click) {
        ClickRight(*window, 100ms);
        QTest::qWait(200);
    }
    QTest::qWait(1000);
    std::printf("gui-stall %.3f\n", Ms(longest));
    return 0;
}

// From SIGHUP to the end of the program, while the patrol's first command hangs at a camera that
// never answers: the real program, started by itself.
int RunSignalToExit(int argc, char** argv)
{
    const auto home = PrepareBenchHome();
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Korvath"_s);
    QCoreApplication::setApplicationName(u"pantiro"_s);
    RawHttpServer camera([](const RawHttpRequest&) { return RawHttpResponse::silence(); });
    WriteSettings(camera.port(), u"0,0,1"_s); // the patrol starts with the program
    std::vector<std::string> environment;
    for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM",
                             "PANTIRO_CAMERA_PORT"})
        if (const char* value = std::getenv(name))
            environment.push_back(std::string(name) + "=" + value);
    for (int round = 0; round < kRounds; ++round) {
        const size_t before = camera.requests().size();
        ChildProcess pantiro(PANTIRO_EXE, {}, environment, QDir::currentPath().toStdString());
        const Clock::time_point deadline = Clock::now() + 10s;
        while (camera.requests().size() == before && Clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(500ms);
        const Clock::time_point signalled = Clock::now();
        ::kill(pantiro.pid(), SIGHUP);
        while (pantiro.running() && Clock::now() - signalled < 15s)
            std::this_thread::sleep_for(1ms);
        std::printf("signal-to-exit %.3f\n", Ms(Clock::now() - signalled));
    }
    return 0;
}

std::vector<double> RunChild(const char* scenario)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {u"--run"_s, QString::fromLatin1(scenario)});
    std::vector<double> values;
    if (!child.waitForFinished(120000) || child.exitCode() != 0) {
        std::fprintf(stderr, "the %s run failed\n", scenario);
        return values;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 2)
            values.push_back(words[1].toDouble());
    }
    return values;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--run") {
        const std::string scenario = argv[2];
        if (scenario == "stop")
            return RunStopAfterRelease(argc, argv);
        if (scenario == "travel")
            return RunHeadTravel(argc, argv);
        if (scenario == "stall")
            return RunGuiStall(argc, argv);
        return RunSignalToExit(argc, argv);
    }
    QCoreApplication application(argc, argv);
    const auto worst = [](const std::vector<double>& values) {
        return values.empty() ? std::nan("") : *std::max_element(values.begin(), values.end());
    };
    const auto least = [](const std::vector<double>& values) {
        return values.empty() ? std::nan("") : *std::min_element(values.begin(), values.end());
    };
    const std::vector<double> stops = RunChild("stop");
    const std::vector<double> travels = RunChild("travel");
    const std::vector<double> stalls = RunChild("stall");
    const std::vector<double> exits = RunChild("signal");
    std::printf("(%d rounds each; camera answering in 3 s for the stop and the travel, 5 s for the stall; the signal "
                "is SIGHUP while the patrol's first command hangs at a camera that never answers)\n",
                kRounds);
    std::printf("figure: stop-leaves-after-release-ms-slow-camera = %.1f ms\n", worst(stops));
    std::printf("figure: head-travel-deg-click-0.2s-slow-camera = %.2f to %.2f deg\n", least(travels), worst(travels));
    std::printf("figure: gui-stall-ms-steering = %.1f ms\n", worst(stalls));
    std::printf("figure: signal-to-exit-ms-camera-hanging = %.0f ms\n", worst(exits));
    return 0;
}
