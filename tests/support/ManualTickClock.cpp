#include "tests/support/ManualTickClock.h"

TickSchedule::Clock::time_point ManualTickClock::now()
{
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualTickClock::sleepUntil(TickSchedule::Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    sleepingUntil_ = deadline;
    changed_.notify_all();
    changed_.wait(lock, [&] { return released_ || now_ >= deadline; });
    sleepingUntil_.reset();
}

void ManualTickClock::advance(std::chrono::milliseconds by)
{
    std::lock_guard lock(mutex_);
    now_ += by;
    changed_.notify_all();
}

bool ManualTickClock::waitForSleepUntil(std::chrono::milliseconds deadline)
{
    std::unique_lock lock(mutex_);
    const TickSchedule::Clock::time_point expected = TickSchedule::Clock::time_point{} + deadline;
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return sleepingUntil_ == expected; });
}

void ManualTickClock::release()
{
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
}
