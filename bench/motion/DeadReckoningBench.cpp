// Dead-reckoning accuracy: drive Right for 1 s, 10 s and 60 s and compare the X counter with
// the milliseconds commanded, idle and with both cores kept busy. A plain periodic 10 ms QTimer
// counts alongside in the same run for comparison.
#include "bench/BusyCores.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"
#include "motion/TickThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

struct Errors {
    double tickThread;
    double qtimer;
};

// Both counters run free, as in the program; the drive starts at a random moment between two
// ticks, as an operator's press does.
Errors Drive(std::chrono::milliseconds duration)
{
    static std::mt19937 random{std::random_device{}()};
    MotionState motion;
    TickThread ticks;
    ticks.start(motion);
    int64_t qtimerUnits = 0;
    QTimer periodic;
    periodic.setTimerType(Qt::PreciseTimer);
    periodic.setInterval(TickThread::kPeriodMs);
    QObject::connect(&periodic, &QTimer::timeout, [&] {
        if (motion.direction == Right)
            qtimerUnits += 10;
    });
    periodic.start();

    QEventLoop loop;
    Clock::time_point pressed;
    Clock::time_point released;
    const auto settle = 100ms + std::chrono::milliseconds(random() % TickThread::kPeriodMs);
    QTimer::singleShot(settle, Qt::PreciseTimer, [&] {
        pressed = Clock::now();
        motion.direction = Right;
        QTimer::singleShot(duration, Qt::PreciseTimer, [&] {
            motion.direction = Stop;
            released = Clock::now();
            loop.quit();
        });
    });
    loop.exec();
    periodic.stop();
    std::this_thread::sleep_for(30ms); // a tick that read Right just before the stop lands
    ticks.stop();

    const double commandedMs = std::chrono::duration<double, std::milli>(released - pressed).count();
    return {motion.posX.load() - commandedMs, static_cast<double>(qtimerUnits) - commandedMs};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::chrono::seconds durations[] = {1s, 10s, 60s};
    std::printf("%-9s %-7s %22s %18s\n", "duration", "load", "tick thread (units)", "QTimer (units)");
    std::vector<std::pair<std::string, double>> figures;
    for (const bool loaded : {false, true}) {
        for (const std::chrono::seconds duration : durations) {
            Errors errors{};
            {
                const BusyCores busy(loaded ? 2 : 0);
                errors = Drive(duration);
            }
            const char* load = loaded ? "loaded" : "idle";
            std::printf("%-9s %-7s %+22.1f %+18.1f\n", (std::to_string(duration.count()) + " s").c_str(), load,
                        errors.tickThread, errors.qtimer);
            std::fflush(stdout);
            const std::string suffix = std::to_string(duration.count()) + "s-" + load;
            figures.emplace_back("dead-reckoning-error-" + suffix, errors.tickThread);
            figures.emplace_back("qtimer-error-" + suffix, errors.qtimer);
        }
    }
    for (const auto& [name, value] : figures)
        std::printf("figure: %s = %.1f units\n", name.c_str(), value);
    return 0;
}
