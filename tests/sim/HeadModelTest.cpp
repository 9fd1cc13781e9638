#include "sim/HeadModel.h"

#include "tests/sim/ManualClock.h"

#include <gtest/gtest.h>

namespace {

class SimHeadModelTest : public ::testing::Test {
protected:
    HeadModel::Settings settings() const
    {
        HeadModel::Settings s;
        s.startPan = 100.0;
        return s;
    }
    HeadModel::State send(HeadModel& head, char byte, int thenMs)
    {
        head.receive(byte);
        clock.advance(thenMs);
        return head.state();
    }

    ManualClock clock;
};

TEST_F(SimHeadModelTest, MovesAtItsSpeedBetweenTheLatencies)
{
    HeadModel head(settings(), clock.clock());
    HeadModel::State s = send(head, '6', 49);
    EXPECT_EQ(s.pan, 100.0);
    EXPECT_EQ(s.direction, HeadMotion::Stop);
    EXPECT_EQ(s.lastCommand, HeadMotion::Right);
    EXPECT_EQ(s.commands, 1);

    clock.advance(2001); // 50 ms latency, then 2 s at 10 deg/s
    EXPECT_NEAR(head.state().pan, 120.0, 1e-9);
    EXPECT_EQ(head.state().direction, HeadMotion::Right);

    // The stop also takes 50 ms: with equal latencies the travel equals the commanded time.
    s = send(head, '5', 1000);
    EXPECT_NEAR(s.pan, 120.5, 1e-9);
    EXPECT_EQ(s.direction, HeadMotion::Stop);

    s = send(head, '8', 1050);
    EXPECT_NEAR(s.tilt, 5.0, 1e-9); // 5 deg/s
    s = send(head, '2', 3000);      // up for the 50 ms latency more, then down
    EXPECT_NEAR(s.tilt, -9.5, 1e-9);
    EXPECT_NEAR(s.pan, 120.5, 1e-9);
    EXPECT_EQ(s.commands, 4);
}

TEST_F(SimHeadModelTest, LatenciesShapeTheTravel)
{
    HeadModel::Settings s = settings();
    s.startLatency = std::chrono::milliseconds(20);
    s.stopLatency = std::chrono::milliseconds(120);
    HeadModel head(s, clock.clock());
    send(head, '6', 1000);
    EXPECT_NEAR(send(head, '5', 1000).pan, 111.0, 1e-9); // 1100 ms of motion for 1000 commanded

    // A tap shorter than the start latency: the stop may not overtake the move.
    s.startLatency = std::chrono::milliseconds(200);
    s.stopLatency = std::chrono::milliseconds(0);
    HeadModel tapped(s, clock.clock());
    send(tapped, '4', 30);
    const HeadModel::State after = send(tapped, '5', 1000);
    EXPECT_EQ(after.pan, 100.0);
    EXPECT_EQ(after.direction, HeadMotion::Stop);
}

TEST_F(SimHeadModelTest, EndStopsClampAndReleaseAtOnce)
{
    HeadModel::Settings s = settings();
    s.startPan = 5.0;
    HeadModel head(s, clock.clock());
    EXPECT_EQ(send(head, '4', 60000).pan, 0.0);
    EXPECT_EQ(head.state().direction, HeadMotion::Left); // still pressing against the stop
    // Leaving the stop needs no winding back of the time spent against it.
    EXPECT_NEAR(send(head, '6', 1050).pan, 10.0, 1e-9);
    EXPECT_EQ(send(head, '6', 60000).pan, 350.0);

    EXPECT_EQ(send(head, '8', 60000).tilt, 45.0);
    EXPECT_EQ(send(head, '2', 60000).tilt, -45.0);
    EXPECT_EQ(head.state().pan, 350.0); // a new direction replaces the old one
}

TEST_F(SimHeadModelTest, IgnoresBytesThatAreNoCommand)
{
    HeadModel head(HeadModel::Settings{}, clock.clock());
    EXPECT_EQ(head.state().pan, 175.0); // the middle of 0..350
    for (char byte : {'0', '1', '3', '7', '9', 'x', '\r', '\n', '\0'})
        EXPECT_FALSE(head.receive(byte)) << int(byte);
    clock.advance(1000);
    EXPECT_EQ(head.state().commands, 0);
    EXPECT_EQ(head.state().pan, 175.0);
    EXPECT_EQ(head.state().tilt, 0.0);
}

} // namespace

// The head's own reading of its line, independent of what Pantiro sends: keypad digits as arrows.
TEST_F(SimHeadModelTest, KeypadDigitsMoveTheirWayAndEveryOtherByteIsIgnored)
{
    struct Case {
        char byte;
        double pan;
        double tilt;
    };
    for (const Case& c : {Case{'6', 110.0, 0.0}, {'4', 90.0, 0.0}, {'8', 100.0, 5.0}, {'2', 100.0, -5.0},
                          {'5', 100.0, 0.0}, {'0', 100.0, 0.0}, {'7', 100.0, 0.0}, {'R', 100.0, 0.0}}) {
        HeadModel head(settings(), clock.clock());
        const bool taken = head.receive(c.byte);
        EXPECT_EQ(taken, c.byte == '2' || c.byte == '4' || c.byte == '5' || c.byte == '6' || c.byte == '8') << c.byte;
        clock.advance(1050);
        EXPECT_NEAR(head.state().pan, c.pan, 1e-9) << c.byte;
        EXPECT_NEAR(head.state().tilt, c.tilt, 1e-9) << c.byte;
    }
}
