#pragma once

#include "motion/TickSchedule.h"

// The time the tick thread runs by. The program uses SteadyTickClock(); tests drive the thread
// with a clock of their own.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual TickSchedule::Clock::time_point now() = 0;
    virtual void sleepUntil(TickSchedule::Clock::time_point deadline) = 0;
};

// steady_clock and a plain sleep until the deadline.
TickClock& SteadyTickClock();
