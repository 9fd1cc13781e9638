// Command latency: from SendDirection to the byte read on a pseudo-terminal, and to the request
// arriving at a loopback HTTP server, with the curl command-line tool sending the same request
// to the same server for comparison.
#include "base/AppConfig.h"
#include "motion/CameraExchanges.h"
#include "motion/CameraRequest.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/DirectionControl.h"
#include "motion/MotionState.h"
#include "motion/OpenCommandPort.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/RawHttpServer.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kUp = "control/rcontrol?action=putrs232&rs232outtext=8&dummy=24324000000";
const std::string kStop = "control/rcontrol?action=putrs232&rs232outtext=5&dummy=24324000000";

class NullView : public MotionView {
public:
    void setArrowIcon(int, int) override {}
    QRect arrowRect(int) const override { return {}; }
    void setPositionText(int, const QString&) override {}
};

struct Summary {
    double median;
    double p99;
};

Summary Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    if (ms.empty())
        return {0, 0};
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

std::vector<double> SerialLatencies(int rounds)
{
    PseudoTerminal pty;
    AppConfig config;
    config.portName = pty.devicePath();
    config.baudRate = 115200;
    CommPort ports;
    OpenCommandPort(config, ports, nullptr);
    CameraExchanges exchanges;
    MotionState motion;
    NullView view;
    DirectionControl control(motion, config, ports, exchanges, view);

    // The reader waits on the master side on a thread of its own, as the head would.
    std::atomic<int> arrived{0};
    std::atomic<int64_t> arrivalNs{0};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            if (pty.read(1, 100ms).empty())
                continue;
            arrivalNs = Clock::now().time_since_epoch().count();
            ++arrived;
        }
    });
    std::vector<double> latencies;
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point sent = Clock::now();
        control.SendDirection(i % 2 == 0 ? Up : Stop);
        while (arrived.load() <= i)
            std::this_thread::yield();
        latencies.push_back(Ms(Clock::time_point(Clock::duration(arrivalNs.load())) - sent));
    }
    done = true;
    reader.join();
    return latencies;
}

std::vector<double> HttpLatencies(RawHttpServer& server, int rounds)
{
    AppConfig config;
    config.portName = QStringLiteral("Kein");
    config.cameraAddress = QStringLiteral("127.0.0.1");
    config.commands[0] = QString::fromStdString(kStop);
    config.commands[1] = QString::fromStdString(kUp);
    CommPort ports;
    CameraExchanges exchanges;
    MotionState motion;
    NullView view;
    DirectionControl control(motion, config, ports, exchanges, view);

    // The requests leave from the event loop; each round waits until the last is answered, so
    // that every move leaves at once.
    std::vector<double> latencies;
    for (int i = 0; i < rounds; ++i) {
        const size_t before = server.requests().size();
        const Clock::time_point sent = Clock::now();
        control.SendDirection(i % 2 == 0 ? Up : Stop);
        const Clock::time_point deadline = sent + 2s;
        while ((server.requests().size() == before || !control.CommandsSettled()) && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const std::vector<RawHttpRequest> requests = server.requests();
        if (requests.size() > before)
            latencies.push_back(Ms(requests[before].received - sent));
    }
    return latencies;
}

std::vector<double> CurlLatencies(RawHttpServer& server, int rounds)
{
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/" + kUp;
    std::vector<std::string> args = {"curl", "-s",
                                     "-o",   "/dev/null",
                                     "-A",   "Mozilla/4.0",
                                     "-H",   "Accept: */*",
                                     "-H",   "Accept-Language: de",
                                     "-H",   "Accept-Encoding: gzip, deflate",
                                     "-H",   "If-Modified-Since: Wed, 30 Nov 2005 16:29:27 GMT",
                                     "-H",   "Connection: Keep-Alive",
                                     url};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<double> latencies;
    for (int i = 0; i < rounds; ++i) {
        const size_t before = server.requests().size();
        const Clock::time_point sent = Clock::now();
        pid_t child = 0;
        if (posix_spawnp(&child, "curl", nullptr, nullptr, argv.data(), environ) != 0) {
            std::fprintf(stderr, "curl could not be started\n");
            break;
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::vector<RawHttpRequest> requests = server.requests();
        if (requests.size() > before)
            latencies.push_back(Ms(requests.back().received - sent));
    }
    return latencies;
}

void Report(const char* name, const std::vector<double>& latencies)
{
    const Summary summary = Summarise(latencies);
    std::printf("%-8s %6zu %12.3f %12.3f\n", name, latencies.size(), summary.median, summary.p99);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitCameraRequests();
    for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
        unsetenv(proxy);
    RawHttpServer server;
    setenv("PANTIRO_CAMERA_PORT", std::to_string(server.port()).c_str(), 1);

    const std::vector<double> serial = SerialLatencies(2000);
    const std::vector<double> http = HttpLatencies(server, 500);
    const std::vector<double> curl = CurlLatencies(server, 200);

    std::printf("%-8s %6s %12s %12s\n", "route", "rounds", "median (ms)", "p99 (ms)");
    Report("serial", serial);
    Report("http", http);
    Report("curl", curl);
    std::printf("figure: serial-latency = %.3f ms\n", Summarise(serial).median);
    std::printf("figure: http-latency = %.3f ms\n", Summarise(http).median);
    std::printf("figure: curl-latency = %.3f ms\n", Summarise(curl).median);
    std::printf("figure: serial-latency-p99 = %.3f ms\n", Summarise(serial).p99);
    std::printf("figure: http-latency-p99 = %.3f ms\n", Summarise(http).p99);
    CleanupCameraRequests();
    return 0;
}
