#pragma once

#include <chrono>
#include <cstdint>

// Absolute deadlines of a periodic tick. A late wake-up is owed every deadline it slept past,
// so the number of ticks follows the clock and not the number of wake-ups.
class TickSchedule {
public:
    using Clock = std::chrono::steady_clock;

    TickSchedule(Clock::time_point start, Clock::duration period) : next_(start + period), period_(period) {}

    Clock::time_point nextDeadline() const { return next_; }

    // The ticks due at `now`; the next deadline moves past `now`.
    int64_t takeDue(Clock::time_point now)
    {
        if (now < next_)
            return 0;
        const int64_t due = (now - next_) / period_ + 1;
        next_ += due * period_;
        return due;
    }

private:
    Clock::time_point next_;
    Clock::duration period_;
};
