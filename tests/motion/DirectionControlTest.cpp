#include "motion/DirectionControl.h"
#include "base/AppConfig.h"
#include "motion/CameraExchanges.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"
#include "motion/TickThread.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/motion/RecordingMotionView.h"
#include "tests/support/ManualTickClock.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QTest>

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

    // Lets the commands given so far reach the camera and be answered.
    void settle()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return control.CommandsSettled(); }, 8000));
    }

    RawHttpServer camera;
    AppConfig config;
    MotionState motion;
    CommPort ports;
    RecordingMotionView view;
    CameraExchanges exchanges;
    DirectionControl control{motion, config, ports, exchanges, view};
};

using Lines = std::vector<std::string>;
using Icons = QList<QPair<int, int>>;

} // namespace

TEST_F(DirectionControlTest, ArrowsSendTheirCommandAndShowTheirState)
{
    control.OnArrowButtonDown(view.centreOf(201));
    EXPECT_EQ(motion.direction, Up);
    settle();
    control.OnArrowButtonUp(view.centreOf(201));
    EXPECT_EQ(motion.direction, Stop);
    settle();
    control.OnArrowButtonDown(view.centreOf(200));
    settle();
    control.OnArrowButtonUp(QPoint(500, 5));
    settle();
    EXPECT_EQ(sentPaths(),
              (Lines{"GET /cmd2 HTTP/1.1", "GET /cmd1 HTTP/1.1", "GET /cmd5 HTTP/1.1", "GET /cmd1 HTTP/1.1"}));
    EXPECT_EQ(view.icons, (Icons{{201, 178}, {201, 179}, {200, 176}, {200, 177}}));

    // A release with nothing moving still stops the head, and changes no icon.
    control.OnArrowButtonUp(QPoint(500, 5));
    settle();
    EXPECT_EQ(sentPaths().back(), "GET /cmd1 HTTP/1.1");
    EXPECT_EQ(view.icons.size(), 4);

    // A press beside the arrows sends nothing.
    control.OnArrowButtonDown(QPoint(500, 5));
    settle();
    EXPECT_EQ(camera.requests().size(), 5u);
}

TEST_F(DirectionControlTest, EachCodeSendsItsCommandEvenTwiceAndAnEmptyOneAsTheRoot)
{
    for (const Direction code : {Right, Right, Down}) {
        EXPECT_EQ(control.SendDirection(code), 0);
        settle();
    }
    config.commands[0].clear();
    EXPECT_EQ(control.SendDirection(Stop), 0);
    settle();
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
    settle();
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

// A camera slow to answer never holds the window, and the last command it applies is the last
// one given: the stop leaves at once beside an unanswered move and once more when that move has
// been answered; a move waits until nothing is unanswered, and only the newest waiting move
// leaves. The counters count a waiting move only from when it leaves.
TEST_F(DirectionControlTest, ASlowCameraNeverHoldsTheWindowAndTheStopIsTheLastItApplies)
{
    std::atomic<bool> holdMoves{true};
    std::atomic<bool> holdStops{false};
    RawHttpServer relay([&](const RawHttpRequest& request) {
        const std::atomic<bool>& hold = request.requestLine().find("cmd1") != std::string::npos ? holdStops : holdMoves;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (hold && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return RawHttpResponse::answer("HTTP/1.1 200 OK");
    });
    UseLoopbackCamera(config, relay);
    const auto sent = [&] {
        Lines lines;
        for (const RawHttpRequest& request : relay.requests())
            lines.push_back(request.requestLine().substr(5, 4));
        return lines;
    };
    auto begin = std::chrono::steady_clock::now();
    control.SendDirection(Up);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(50));
    WAIT_UNTIL(relay.requests().size() == 1);
    begin = std::chrono::steady_clock::now();
    control.SendDirection(Stop);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(50));
    WAIT_UNTIL(relay.requests().size() == 2);
    EXPECT_EQ(sent(), (Lines{"cmd2", "cmd1"})) << "the stop left while the move was unanswered";

    holdStops = true;
    control.SendDirection(Right);
    control.SendDirection(Left);
    EXPECT_EQ(motion.direction, Stop) << "a waiting move is not counted";
    QTest::qWait(200);
    EXPECT_EQ(relay.requests().size(), 2u);

    holdMoves = false;
    WAIT_UNTIL(relay.requests().size() == 3);
    EXPECT_EQ(sent().back(), "cmd1") << "the stop once more after the move's answer";
    QTest::qWait(200);
    EXPECT_EQ(motion.direction, Stop) << "the move still waits for that stop";
    holdStops = false;
    WAIT_UNTIL(relay.requests().size() == 4);
    EXPECT_EQ(sent().back(), "cmd5") << "only the newest waiting move";
    EXPECT_EQ(motion.direction, Left);
    settle();
    EXPECT_EQ(relay.requests().size(), 4u);
}

// A stop the camera did not take (an error, no answer) is sent again every half second, one
// try at a time, until one is taken. A direction given meanwhile ends the retries, and leaves
// only once a stop already on its way has been answered, so no stop ever follows it.
TEST_F(DirectionControlTest, AStopTheCameraDidNotTakeIsSentAgainUntilOneIsTaken)
{
    std::atomic<int> stopAnswer{500}; // 0: answer only after a while
    RawHttpServer relay([&](const RawHttpRequest& request) {
        const int status = request.requestLine().find("cmd1") != std::string::npos ? stopAnswer.load() : 200;
        if (status == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
        return RawHttpResponse::answer("HTTP/1.1 " + std::to_string(status == 0 ? 503 : status) + " X");
    });
    UseLoopbackCamera(config, relay);
    const auto lastSent = [&] { return relay.requests().back().requestLine(); };
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> stopsAt;
    const auto countStops = [&](size_t count) {
        return QTest::qWaitFor(
            [&] {
                if (relay.requests().size() > stopsAt.size())
                    stopsAt.push_back(Clock::now());
                return stopsAt.size() >= count;
            },
            5000);
    };
    control.SendDirection(Stop);
    ASSERT_TRUE(countStops(3));
    EXPECT_TRUE(control.StopPending());
    for (size_t i = 1; i < stopsAt.size(); ++i) {
        EXPECT_GE(stopsAt[i] - stopsAt[i - 1], std::chrono::milliseconds(400)) << "try " << i;
        EXPECT_LE(stopsAt[i] - stopsAt[i - 1], std::chrono::milliseconds(900)) << "try " << i;
    }

    stopAnswer = 0;
    ASSERT_TRUE(countStops(4));
    control.SendDirection(Right);
    EXPECT_FALSE(control.StopPending());
    EXPECT_EQ(motion.direction, Stop) << "the move waits for the stop on its way";
    WAIT_UNTIL(relay.requests().size() == 5);
    EXPECT_EQ(lastSent(), "GET /cmd3 HTTP/1.1");
    settle();
    QTest::qWait(600);
    EXPECT_EQ(lastSent(), "GET /cmd3 HTTP/1.1") << "no stop after the direction";

    stopAnswer = 500;
    control.SendDirection(Stop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return relay.requests().size() >= 7; }, 5000));
    stopAnswer = 200;
    WAIT_UNTIL(!control.StopPending());
    const size_t sentCount = relay.requests().size();
    QTest::qWait(600);
    EXPECT_EQ(relay.requests().size(), sentCount);
    EXPECT_EQ(lastSent(), "GET /cmd1 HTTP/1.1");
}
