#include "motion/DirectionControl.h"
#include "base/AppConfig.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"
#include "motion/TickThread.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/motion/RecordingMotionView.h"
#include "tests/support/ManualTickClock.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Direction control with the camera transport: every command is a request to `camera`.
class DirectionControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareLoopbackCameraRequests()); }

    void SetUp() override
    {
        ASSERT_TRUE(camera.isListening());
        UseLoopbackCamera(config, camera);
        config.portName = QStringLiteral("Kein");
        config.portSlot = -1;
    }

    std::vector<std::string> sentPaths() const
    {
        std::vector<std::string> lines;
        for (const RawHttpRequest& request : camera.requests())
            lines.push_back(request.requestLine());
        return lines;
    }

    RawHttpServer camera;
    AppConfig config;
    MotionState motion;
    CommPort ports;
    RecordingMotionView view;
    DirectionControl control{motion, config, ports, view};
};

using Lines = std::vector<std::string>;
using Icons = QList<QPair<int, int>>;

} // namespace

TEST_F(DirectionControlTest, ArrowsSendTheirCommandAndShowTheirState)
{
    control.OnArrowButtonDown(view.centreOf(201));
    EXPECT_EQ(motion.direction, Up);
    control.OnArrowButtonUp(view.centreOf(201));
    EXPECT_EQ(motion.direction, Stop);
    control.OnArrowButtonDown(view.centreOf(200));
    control.OnArrowButtonUp(QPoint(500, 5));
    EXPECT_EQ(sentPaths(),
              (Lines{"GET /cmd2 HTTP/1.1", "GET /cmd1 HTTP/1.1", "GET /cmd5 HTTP/1.1", "GET /cmd1 HTTP/1.1"}));
    EXPECT_EQ(view.icons, (Icons{{201, 178}, {201, 179}, {200, 176}, {200, 177}}));

    // A release with nothing moving still stops the head, and changes no icon.
    control.OnArrowButtonUp(QPoint(500, 5));
    EXPECT_EQ(sentPaths().back(), "GET /cmd1 HTTP/1.1");
    EXPECT_EQ(view.icons.size(), 4);

    // A press beside the arrows sends nothing.
    control.OnArrowButtonDown(QPoint(500, 5));
    EXPECT_EQ(camera.requests().size(), 5u);
}

TEST_F(DirectionControlTest, EachCodeSendsItsCommandEvenTwiceAndAnEmptyOneAsTheRoot)
{
    EXPECT_EQ(control.SendDirection(Right), 0);
    EXPECT_EQ(control.SendDirection(Right), 0);
    EXPECT_EQ(control.SendDirection(Down), 0);
    config.commands[0].clear();
    EXPECT_EQ(control.SendDirection(Stop), 0);
    EXPECT_EQ(sentPaths(), (Lines{"GET /cmd3 HTTP/1.1", "GET /cmd3 HTTP/1.1", "GET /cmd4 HTTP/1.1", "GET / HTTP/1.1"}));
    // Moving Right then Down: the stop restores the arrow of the direction that was moving.
    EXPECT_EQ(view.icons.last(), qMakePair(203, 180));

    // A code that names no direction changes and sends nothing.
    EXPECT_EQ(control.SendDirection(7), 0);
    EXPECT_EQ(control.SendDirection(-1), 0);
    EXPECT_EQ(motion.direction, Stop);
    EXPECT_EQ(camera.requests().size(), 4u);
}

// The counters follow the command from when it is given: a camera slow to take the request
// must already see the counter moving.
TEST_F(DirectionControlTest, TheCounterMovesWhileTheCameraStillHoldsTheCommand)
{
    ManualTickClock clock;
    TickThread ticks;
    ASSERT_NE(ticks.start(motion, clock), 0);
    ASSERT_TRUE(clock.waitForSleepUntil(std::chrono::milliseconds(10)));
    std::atomic<int32_t> directionSeen{-1};
    std::atomic<int32_t> posXSeen{-1};
    RawHttpServer slowCamera([&](const RawHttpRequest&) {
        directionSeen = motion.direction.load();
        clock.advance(std::chrono::milliseconds(30));
        if (clock.waitForSleepUntil(std::chrono::milliseconds(40)))
            posXSeen = motion.posX.load();
        return RawHttpResponse::answer("HTTP/1.1 200 OK");
    });
    UseLoopbackCamera(config, slowCamera);

    control.SendDirection(Right);
    clock.release();
    ticks.stop();
    EXPECT_EQ(directionSeen, Right);
    EXPECT_EQ(posXSeen, 30);
    EXPECT_EQ(slowCamera.requests().size(), 1u);
}

TEST_F(DirectionControlTest, AutomaticModeIgnoresTheMouseAndStopsToTheAutomaticIcon)
{
    motion.automaticMode = 1;
    control.OnArrowButtonDown(view.centreOf(202));
    control.OnArrowButtonUp(view.centreOf(202));
    EXPECT_TRUE(camera.requests().empty());
    EXPECT_TRUE(view.icons.isEmpty());

    control.SendDirection(Right);
    control.SendDirection(Stop);
    EXPECT_EQ(view.icons, (Icons{{202, 174}, {202, 184}}));
}

TEST_F(DirectionControlTest, HitTestCountsTheRightAndBottomEdgesAndTriesLeftFirst)
{
    // Left spans x 21..51 and y 270..302 with its right and bottom edges.
    EXPECT_EQ(control.HitTestArrows(QPoint(21, 270)), Left);
    EXPECT_EQ(control.HitTestArrows(QPoint(51, 302)), Left);
    EXPECT_EQ(control.HitTestArrows(QPoint(20, 280)), Stop);
    EXPECT_EQ(control.HitTestArrows(QPoint(30, 303)), Stop);
    // Left and Up overlap at x 45..51, y 270..279.
    EXPECT_EQ(control.HitTestArrows(QPoint(48, 275)), Left);
    EXPECT_EQ(control.HitTestArrows(QPoint(60, 279)), Up);
    EXPECT_EQ(control.HitTestArrows(QPoint(99, 302)), Right);
    EXPECT_EQ(control.HitTestArrows(QPoint(100, 302)), Stop);
    EXPECT_EQ(control.HitTestArrows(QPoint(75, 324)), Down);
    EXPECT_EQ(control.HitTestArrows(QPoint(75, 325)), Stop);
}

TEST_F(DirectionControlTest, ZeroingAsksFirstAndLeavesTheMotionAlone)
{
    motion.posX = 350;
    motion.posY = -20;
    motion.direction = Up;
    ScriptedMessageBoxes::expect(QStringLiteral("Möchten Sie die aktuelle Kameraposition auf Nullposition setzen ?"),
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No);
    control.OnZeroPosition(nullptr);
    EXPECT_EQ(motion.posX, 350);
    EXPECT_EQ(motion.posY, -20);

    config.language = 1;
    ScriptedMessageBoxes::expect(QStringLiteral("Do you want reset the camera position to zero  ?"),
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    control.OnZeroPosition(nullptr);
    EXPECT_EQ(motion.posX, 0);
    EXPECT_EQ(motion.posY, 0);
    EXPECT_EQ(motion.direction, Up);
    EXPECT_TRUE(camera.requests().empty());
}

TEST_F(DirectionControlTest, PositionDisplayShowsFiveCharactersAndOnlyChanges)
{
    motion.shownX = MotionState::kNeverShown;
    motion.shownY = MotionState::kNeverShown;
    motion.posX = 120;
    motion.posY = -10;
    control.RefreshPositionDisplay();
    using Texts = QList<QPair<int, QString>>;
    EXPECT_EQ(view.texts, (Texts{{220, QStringLiteral("00120")}, {221, QStringLiteral("-0010")}}));

    control.RefreshPositionDisplay();
    EXPECT_EQ(view.texts.size(), 2);

    motion.posX = 1234567;
    control.RefreshPositionDisplay();
    EXPECT_EQ(view.texts.size(), 3);
    EXPECT_EQ(view.texts.last(), qMakePair(220, QStringLiteral("1234567")));
}

// A stop the camera did not take (an error, no answer) is sent again on each half-second step,
// on a thread of its own, until one is taken; a direction given meanwhile ends the retries.
TEST_F(DirectionControlTest, AStopTheCameraDidNotTakeIsSentAgainUntilOneIsTaken)
{
    std::atomic<int> stopAnswer{500}; // 0: silence
    RawHttpServer relay([&](const RawHttpRequest& request) {
        const int status = request.requestLine().find("cmd1") != std::string::npos ? stopAnswer.load() : 200;
        return status == 0 ? RawHttpResponse::silence()
                           : RawHttpResponse::answer("HTTP/1.1 " + std::to_string(status) + " X");
    });
    UseLoopbackCamera(config, relay);
    const auto lastSent = [&] { return relay.requests().back().requestLine(); };
    const auto stepUntil = [&](auto done) {
        const auto begin = std::chrono::steady_clock::now();
        for (int step = 0; step < 300 && !done(); ++step) {
            control.ResendStop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::chrono::steady_clock::now() - begin;
    };
    control.SendDirection(Stop);
    stepUntil([&] { return relay.requests().size() >= 3; });
    stopAnswer = 0;
    EXPECT_LT(stepUntil([&] { return relay.requests().size() >= 4; }), std::chrono::seconds(1))
        << "a silent camera holds the stop's own thread, not the window";
    control.SendDirection(Right);
    control.ResendStop();
    EXPECT_FALSE(control.StopPending());
    EXPECT_EQ(lastSent(), "GET /cmd3 HTTP/1.1") << "no stop after the direction";

    stopAnswer = 500;
    control.SendDirection(Stop);
    stepUntil([&] { return relay.requests().size() >= 8; });
    stopAnswer = 200;
    stepUntil([&] { return !control.StopPending(); });
    const size_t sent = relay.requests().size();
    control.ResendStop();
    EXPECT_EQ(relay.requests().size(), sent);
    EXPECT_EQ(lastSent(), "GET /cmd1 HTTP/1.1");
}
