#pragma once

#include "motion/TickClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

// Time for the tick thread that moves only when the test says so. Times are given as the
// distance from the clock's start.
class ManualTickClock final : public TickClock {
public:
    TickSchedule::Clock::time_point now() override;
    void sleepUntil(TickSchedule::Clock::time_point deadline) override;

    void advance(std::chrono::milliseconds by);
    // Waits until the tick thread sleeps until `deadline`, so everything due before it is done.
    bool waitForSleepUntil(std::chrono::milliseconds deadline);
    // Every sleep returns at once from now on, so that the thread can be stopped.
    void release();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    TickSchedule::Clock::time_point now_{};
    std::optional<TickSchedule::Clock::time_point> sleepingUntil_;
    bool released_ = false;
};
