#include "motion/TickThread.h"

#include "motion/ArrivalWatch.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"
#include "motion/TickClock.h"
#include "motion/TickSchedule.h"

#include <system_error>

#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>

namespace {

constexpr int32_t kUnitsPerTick = 10;

TickClock* overriddenClock = nullptr;

// Like the system timer thread it stands in for, the tick runs ahead of ordinary threads where
// the system allows it (otherwise it stays an ordinary thread), and wakes without timer slack:
// a tick still waiting for the processor when the direction changes counts for the new one.
void RunAheadOfOrdinaryThreads()
{
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    sched_param param{};
    param.sched_priority = ::sched_get_priority_min(SCHED_FIFO);
    ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param);
}

} // namespace

void DeadReckoningTick(MotionState& motion)
{
    switch (motion.direction.load(std::memory_order_relaxed)) {
    case Up:
        motion.posY.fetch_add(kUnitsPerTick, std::memory_order_relaxed);
        break;
    case Right:
        motion.posX.fetch_add(kUnitsPerTick, std::memory_order_relaxed);
        break;
    case Down:
        motion.posY.fetch_sub(kUnitsPerTick, std::memory_order_relaxed);
        break;
    case Left:
        motion.posX.fetch_sub(kUnitsPerTick, std::memory_order_relaxed);
        break;
    default:
        break;
    }
}

TickThread::~TickThread()
{
    stop();
}

int TickThread::start(MotionState& motion, ArrivalWatch* arrival)
{
    return start(motion, overriddenClock ? *overriddenClock : SteadyTickClock(), arrival);
}

int TickThread::start(MotionState& motion, TickClock& clock, ArrivalWatch* arrival)
{
    if (running_)
        return id();
    stopRequested_ = false;
    try {
        thread_ = std::thread([this, &motion, &clock, arrival] {
            RunAheadOfOrdinaryThreads();
            TickSchedule schedule(clock.now(), std::chrono::milliseconds(kPeriodMs));
            while (!stopRequested_.load(std::memory_order_relaxed)) {
                clock.sleepUntil(schedule.nextDeadline());
                for (int64_t due = schedule.takeDue(clock.now()); due > 0; --due) {
                    DeadReckoningTick(motion);
                    if (arrival)
                        arrival->check(motion);
                }
            }
        });
    } catch (const std::system_error&) {
        return 0;
    }
    if (arrival)
        arrival->setWatched(true);
    arrival_ = arrival;
    running_ = true;
    return id();
}

void TickThread::overrideClock(TickClock* clock)
{
    overriddenClock = clock;
}

void TickThread::stop()
{
    if (!running_)
        return;
    stopRequested_ = true;
    thread_.join();
    if (arrival_)
        arrival_->setWatched(false);
    arrival_ = nullptr;
    running_ = false;
}
