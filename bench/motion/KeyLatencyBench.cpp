// Key to command: from a steering key, as the window system hands it to the real main window
// (offscreen, the position list holding the focus), to the byte read on the head's side of a
// pseudo-terminal. Press and release alternate, so half the rounds are moves, half stops.
#include "app/CAppDlg.h"
#include "app/CPantiroApp.h"
#include "bench/BenchHome.h"
#include "controls/CReportListCtrl.h"
#include "tests/support/PseudoTerminal.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRounds = 2000;
constexpr auto kGoal = 5.0; // ms

double Percentile(std::vector<double> ms, int percent)
{
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[std::min(ms.size() - 1, ms.size() * percent / 100)];
}

} // namespace

int main(int argc, char** argv)
{
    const auto home = PrepareBenchHome();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvath"));
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    QApplication::setQuitOnLastWindowClosed(false);
    PseudoTerminal line;
    if (!line.isOpen())
        return 1;
    QFile profile(home->filePath(QStringLiteral("config/Korvath/pantiro.conf")));
    profile.open(QIODevice::WriteOnly);
    profile.write(QStringLiteral("[Settings]\nLanguage=0\nComm=\"%1,9600\"\n").arg(line.devicePath()).toUtf8());
    profile.close();

    CPantiroApp app;
    if (!app.InitInstance())
        return 1;
    CAppDlg& window = *app.mainDialog();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        return 1;
    window.listControl()->setFocus();

    // The head's side waits on a thread of its own and notes when each byte came.
    std::atomic<int> arrived{0};
    std::atomic<int64_t> arrivalNs{0};
    std::atomic<bool> done{false};
    std::thread headSide([&] {
        while (!done) {
            if (line.read(1, 100ms).empty())
                continue;
            arrivalNs = Clock::now().time_since_epoch().count();
            ++arrived;
        }
    });
    std::vector<double> latencies;
    for (int i = 0; i < kRounds; ++i) {
        const Clock::time_point sent = Clock::now();
        QTest::simulateEvent(window.windowHandle(), i % 2 == 0, Qt::Key_8, Qt::KeypadModifier, QStringLiteral("8"),
                             false);
        const Clock::time_point deadline = sent + 2s;
        while (arrived.load() <= i && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (arrived.load() <= i) {
            std::fprintf(stderr, "round %d: no byte within 2 s\n", i);
            break;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(Clock::time_point(Clock::duration(arrivalNs.load())) - sent)
                .count());
    }
    done = true;
    headSide.join();
    std::printf("%-8s %6s %12s %12s %12s\n", "route", "rounds", "median (ms)", "p99 (ms)", "max (ms)");
    std::printf("%-8s %6zu %12.3f %12.3f %12.3f\n", "key", latencies.size(), Percentile(latencies, 50),
                Percentile(latencies, 99), Percentile(latencies, 100));
    std::printf("figure: key-latency = %.3f ms\n", Percentile(latencies, 50));
    std::printf("figure: key-latency-p99 = %.3f ms (goal <= %.0f ms)\n", Percentile(latencies, 99), kGoal);
    return 0;
}
