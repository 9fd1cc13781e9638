#include "motion/Direction.h"
#include "motion/MotionState.h"
#include "motion/TickSchedule.h"
#include "motion/TickThread.h"
#include "tests/support/ManualTickClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(DeadReckoning, EachTickMovesTheCounterOfTheDirectionByTen)
{
    struct Case {
        int32_t direction, x, y;
    };
    for (const Case c : {Case{Up, 0, 10}, Case{Right, 10, 0}, Case{Down, 0, -10}, Case{Left, -10, 0}, Case{Stop, 0, 0},
                         Case{7, 0, 0}, Case{-1, 0, 0}}) {
        MotionState motion;
        motion.direction = c.direction;
        DeadReckoningTick(motion);
        EXPECT_EQ(motion.posX, c.x) << "direction " << c.direction;
        EXPECT_EQ(motion.posY, c.y) << "direction " << c.direction;
    }
}

TEST(DeadReckoning, ALateWakeUpIsOwedEveryDeadlineItSleptPast)
{
    const Clock::time_point start{};
    TickSchedule schedule(start, 10ms);
    EXPECT_EQ(schedule.takeDue(start + 9ms), 0);
    EXPECT_EQ(schedule.takeDue(start + 10ms), 1);
    EXPECT_EQ(schedule.nextDeadline(), start + 20ms);
    EXPECT_EQ(schedule.takeDue(start + 55ms), 4);
    EXPECT_EQ(schedule.nextDeadline(), start + 60ms);
    EXPECT_EQ(schedule.takeDue(start + 59ms), 0);
    EXPECT_EQ(schedule.takeDue(start + 60ms), 1);
}

TEST(DeadReckoning, TheTickThreadAddsTheTicksItSleptPast)
{
    ManualTickClock clock;
    MotionState motion;
    TickThread ticks;
    ASSERT_NE(ticks.start(motion, clock), 0);
    ASSERT_TRUE(clock.waitForSleepUntil(10ms));
    motion.direction = Right;
    clock.advance(10ms);
    ASSERT_TRUE(clock.waitForSleepUntil(20ms));
    EXPECT_EQ(motion.posX, 10);

    clock.advance(55ms); // woken 45 ms late: the deadlines at 20, 30, 40, 50 and 60 ms are owed
    ASSERT_TRUE(clock.waitForSleepUntil(70ms));
    EXPECT_EQ(motion.posX, 60);

    motion.direction = Up;
    clock.advance(5ms);
    ASSERT_TRUE(clock.waitForSleepUntil(80ms));
    EXPECT_EQ(motion.posX, 60);
    EXPECT_EQ(motion.posY, 10);

    clock.release();
    ticks.stop();
}

TEST(DeadReckoning, AHeldDirectionCountsItsMillisecondsAndStopFreezesThem)
{
    MotionState motion;
    TickThread ticks;
    ASSERT_NE(ticks.start(motion), 0);
    EXPECT_EQ(ticks.start(motion), ticks.id()) << "a running tick is not started twice";

    const Clock::time_point pressed = Clock::now();
    motion.direction = Right;
    std::this_thread::sleep_for(300ms);
    motion.direction = Stop;
    const auto heldMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pressed).count();

    std::this_thread::sleep_for(30ms); // a tick that read Right just before the stop
    const int32_t stopped = motion.posX;
    EXPECT_GE(stopped, heldMs * 7 / 10);
    EXPECT_LE(stopped, heldMs + 20);
    EXPECT_EQ(motion.posY, 0);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(motion.posX, stopped);

    ticks.stop();
    EXPECT_EQ(ticks.id(), 0);
}
