#include "motion/TickClock.h"

#include <thread>

namespace {

class SteadyClock final : public TickClock {
public:
    TickSchedule::Clock::time_point now() override { return TickSchedule::Clock::now(); }
    void sleepUntil(TickSchedule::Clock::time_point deadline) override { std::this_thread::sleep_until(deadline); }
};

} // namespace

TickClock& SteadyTickClock()
{
    static SteadyClock clock;
    return clock;
}
