#include "base/AppConfig.h"
#include "base/Sound.h"
#include "motion/ArrivalWatch.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/DirectionControl.h"
#include "motion/MotionState.h"
#include "motion/PatrolSequencer.h"
#include "motion/PatrolState.h"
#include "motion/PatrolView.h"
#include "motion/TickThread.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/motion/MemoryPositionRows.h"
#include "tests/motion/RecordingMotionView.h"
#include "tests/support/ManualTickClock.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScopeGuard>

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include <limits>
#include <utility>
#include <vector>

namespace {

using Ticks = std::vector<int>;
using Changes = std::vector<std::pair<int, int32_t>>; // tick, new direction
using Images = QList<QPair<int, int>>;

// The main window as the patrol sees it. A stop in automatic mode gives the arrow that was
// moving its automatic icon back; X at that moment shows whether zeroing came first.
class PatrolWindow : public RecordingMotionView, public PatrolView {
public:
    explicit PatrolWindow(const MotionState& motion) : motion_(motion) {}
    void setArrowIcon(int controlId, int iconId) override
    {
        const int32_t moving = motion_.direction;
        if (moving != Stop && motion_.automaticMode && iconId == kArrows[moving].automaticIcon)
            xAtStops.push_back(motion_.posX);
        RecordingMotionView::setArrowIcon(controlId, iconId);
    }
    void setButtonEnabled(int controlId, bool enabled) override { buttons.append({controlId, enabled}); }
    void setLamp(int bitmapId) override { lamps.append(bitmapId); }

    std::vector<int32_t> xAtStops;
    QList<QPair<int, bool>> buttons;
    QList<int> lamps;

private:
    const MotionState& motion_;
};

struct RecordingSound : Sound {
    void play(int id) override { played.push_back(id); }
    std::vector<int> played;
};

QStringList Position(const char* name, int x, int y = 0)
{
    return {QString::fromUtf8(name), QString::number(x), QString::number(y)};
}

// The patrol stepped tick by tick against a pseudo-terminal head and a loopback camera.
// Between ticks the counters travel 100 in the commanded direction, as 10 dead-reckoning
// ticks would.
class PatrolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareLoopbackCameraRequests()); }

    void SetUp() override
    {
        ASSERT_TRUE(head.isOpen() && camera.isListening());
        UseLoopbackCamera(config, camera);
        config.commands[7] = QStringLiteral("click");
        config.portName = head.devicePath();
        config.portSlot =
            ports.Open(config.portName, 9600, 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeAsIs, 0);
        ASSERT_GE(config.portSlot, 0);
        config.dwellMs = 1000;
        config.cyclePauseSec = 10;
        config.zeroDriveExtraSec = 5;
        config.referenceDriveSec = 60;
    }

    // Reference drive, drive to zero and pause end at their first test: positions begin at
    // tick 13 with both counters 0.
    void quickCycles() { config.referenceDriveSec = config.zeroDriveExtraSec = config.cyclePauseSec = 0; }

    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            ++ticks;
            const int32_t before = motion.direction;
            const std::string sentBefore = sent();
            patrol.OnPatrolTick();
            // The tick's camera request (the user click) ends before the next tick.
            EXPECT_TRUE(QTest::qWaitFor([&] { return exchanges.running() == 0; }, 8000));
            if (motion.direction != before)
                changes.push_back({ticks, motion.direction});
            if (sent().size() > sentBefore.size() && sent().ends_with("click "))
                clickTicks.push_back(ticks);
            if (sound.played.size() > soundTicks.size())
                soundTicks.push_back(ticks);
            motion.posX += motion.direction == Right ? 100 : motion.direction == Left ? -100 : 0;
            motion.posY += motion.direction == Up ? 100 : motion.direction == Down ? -100 : 0;
        }
    }

    // The paths the camera got, each followed by a blank.
    std::string sent() const
    {
        std::string paths;
        for (const RawHttpRequest& request : camera.requests())
            paths += request.requestLine().substr(5, request.requestLine().find(" HTTP") - 5) + ' ';
        return paths;
    }

    PseudoTerminal head;
    RawHttpServer camera;
    AppConfig config;
    CommPort ports;
    MotionState motion;
    PatrolState state;
    PatrolWindow window{motion};
    MemoryPositionRows rows;
    RecordingSound sound;
    CameraExchanges exchanges;
    DirectionControl control{motion, config, ports, exchanges, window};
    ArrivalWatch arrival;
    PatrolSequencer patrol{state, motion, config, control, window, window, rows, sound, arrival, exchanges};

    int ticks = 0;
    Changes changes;
    Ticks clickTicks;
    Ticks soundTicks;
};

} // namespace

TEST_F(PatrolTest, AnEmptyListLoopsThroughDriveToZeroAndPauseWithoutAClick)
{
    motion.posY = 40;
    patrol.OnStartAutomatic();
    tick(814);
    // Reference drive 60 s, drive to zero 5 s, pause 10 s; the next cycle starts with the
    // drive to zero.
    EXPECT_EQ(changes, (Changes{{2, Left}, {603, Stop}, {605, Left}, {656, Stop}, {763, Left}, {814, Stop}}));
    EXPECT_EQ(head.drain(), "454545");
    EXPECT_EQ(rows.changes.mid(0, 6), (Images{{0, 5}, {0, 10}, {1, 5}, {1, 10}, {2, 5}, {2, 6}}));
    // Both counters are zero before the stop leaves, Y too although it never moved.
    EXPECT_EQ(window.xAtStops, (std::vector<int32_t>{-60100, 0, 0}));
    EXPECT_EQ(motion.posY, 0);
    EXPECT_EQ(sent(), "");
}

TEST_F(PatrolTest, PositionsAreVisitedInOrderOverTheCameraRelayWithDwellClickAndSound)
{
    config.portName = QStringLiteral("Kein");
    config.referenceDriveSec = config.cyclePauseSec = 0;
    config.soundSignals = 1;
    rows = MemoryPositionRows({Position("A", 3050), Position("B", 1000)});
    patrol.OnStartAutomatic();
    tick(210);
    EXPECT_EQ(changes, (Changes{{2, Left},
                                {4, Stop}, // a reference drive of 0 s still lasts two ticks
                                {6, Left},
                                {57, Stop}, // drive to zero: 5 s
                                {63, Right},
                                {94, Stop}, // to A, stopping past it at 3100
                                {110, Left},
                                {131, Stop}, // from the overshoot down to B
                                {149, Left},
                                {210, Stop}})); // drive to zero: B's 1000 ms + 5 s
    EXPECT_EQ(sent(), "cmd5 cmd1 cmd5 cmd1 cmd3 cmd1 click cmd5 cmd1 click cmd5 cmd1 ");
    // One second of dwell after each stop, then the click, then the sound.
    EXPECT_EQ(clickTicks, (Ticks{107, 144}));
    EXPECT_EQ(soundTicks, clickTicks);
    EXPECT_EQ(sound.played, (std::vector<int>{178, 178}));
    EXPECT_EQ(head.drain(), "");
    // Each row in progress is brought into view.
    EXPECT_EQ(rows.scrolls, (QList<int>{0, 1, 2, 3, 4, 1}));
}

TEST_F(PatrolTest, TheXAxisComesFirstAndYOnlyWhenAsked)
{
    struct Case {
        int x, y;
        int32_t driveY;
        std::string wire; // after the drive to zero, before the final stop
        int clickTick;
        int32_t endX, endY;
    } const cases[] = {
        {0, 500, 0, "", 27, 0, 0}, // X equal: steps 30 and 50 follow on the next two ticks
        {0, 500, 1, "85", 32, 0, 500},
        {250, 500, 1, "6585", 35, 300, 500}, // the overshoot stays in the counter
        {-150, -200, 1, "4525", 31, -200, -200},
    };
    quickCycles();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y << " driveY " << c.driveY);
        ticks = 0;
        clickTicks.clear();
        motion.clear();
        config.driveYPositions = c.driveY;
        rows = MemoryPositionRows({Position("P", c.x, c.y)});
        patrol.OnStartAutomatic();
        tick(c.clickTick);
        patrol.OnStopAutomatic();
        EXPECT_EQ(head.drain(), "4545" + c.wire + "5");
        EXPECT_EQ(clickTicks, Ticks{c.clickTick});
        EXPECT_EQ(std::make_pair(motion.posX.load(), motion.posY.load()), std::make_pair(c.endX, c.endY));
    }
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PatrolTest, AnEmptyNameEndsEveryCycleThere)
{
    quickCycles();
    rows = MemoryPositionRows({Position("A", 0), Position("", 500), Position("C", 900)});
    patrol.OnStartAutomatic();
    tick(56);
    // Two cycles, one reference drive; the row below the empty name is never loaded.
    EXPECT_EQ(clickTicks, (Ticks{27, 53}));
    EXPECT_EQ(rows.changes.count({0, 5}), 1);
    EXPECT_EQ(rows.changes.count({5, 5}), 0);
}

TEST_F(PatrolTest, StartAndStopSwitchTheWindowInOrderAndStopHaltsTheDrive)
{
    quickCycles();
    rows = MemoryPositionRows({Position("A", 3000), Position("B", 0)});
    patrol.OnStartAutomatic();
    using Buttons = QList<QPair<int, bool>>;
    EXPECT_EQ(window.buttons, (Buttons{{170, false},
                                       {171, true},
                                       {103, false},
                                       {101, false},
                                       {150, false},
                                       {300, false},
                                       {301, false},
                                       {302, false}}));
    EXPECT_EQ(window.icons, (Images{{200, 183}, {201, 185}, {202, 184}, {203, 182}}));
    tick(20);
    ASSERT_EQ(motion.direction, Right);
    EXPECT_EQ(head.drain(), "45456"); // Start itself sent nothing

    window.buttons.clear();
    window.icons.clear();
    patrol.OnStopAutomatic();
    tick(5);
    EXPECT_EQ(head.drain(), "5");
    EXPECT_EQ(
        window.buttons,
        (Buttons{
            {170, true}, {171, false}, {103, true}, {101, true}, {150, true}, {300, true}, {301, true}, {302, true}}));
    EXPECT_EQ(window.lamps, (QList<int>{167, 168}));
    EXPECT_EQ(window.icons, (Images{{200, 177}, {201, 179}, {202, 175}, {203, 180}, {202, 175}}));
    EXPECT_EQ(rows.images(), (QList<int>{10, 10, 6, 14, 14}));
    EXPECT_EQ(motion.posX, 700);
}

TEST_F(PatrolTest, GoToAsksForAPositionRowAndRefusesDuringThePatrol)
{
    const QString select = QStringLiteral("Bitte wählen Sie die Beobachtungsposition aus der Liste aus !");
    for (const QList<int>& selected : {QList<int>{}, {1}, {2, 5}}) { // the first selected row counts
        rows = MemoryPositionRows({Position("A", 1), Position("B", 2), Position("C", 3)});
        for (const int row : selected)
            rows.select(row);
        ScriptedMessageBoxes::expect(select, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
        patrol.OnGoToPosition(nullptr);
        EXPECT_EQ(motion.automaticMode, 0);
    }
    rows.select(3);
    patrol.OnStartAutomatic();
    config.language = 1;
    ScriptedMessageBoxes::expect(QStringLiteral("You cannot edit while the system is in auto mode !"),
                                 MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok);
    patrol.OnGoToPosition(nullptr);
    EXPECT_EQ(state.goToOnly, 0);
}

TEST_F(PatrolTest, GoToDrivesToOnePositionAndAStartAfterItBeginsWithTheReferenceDrive)
{
    rows = MemoryPositionRows({Position("A", 100), Position("B", 700)});
    motion.posX = 700;
    rows.select(4);
    patrol.OnGoToPosition(nullptr);
    tick();
    EXPECT_EQ(rows.images().at(4), 5);
    tick(2);
    EXPECT_EQ(motion.automaticMode, 1);
    tick();
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_EQ(head.drain(), "5"); // only the stop of Stop: no drive, dwell or click

    rows.select(3); // from elsewhere the go-to drives there
    patrol.OnGoToPosition(nullptr);
    tick(10);
    EXPECT_EQ(std::make_pair(motion.automaticMode, motion.posX.load()), std::make_pair(0, 100));
    EXPECT_EQ(head.drain(), "455");

    // A go-to to a row without a name stops at once instead of starting a cycle.
    rows = MemoryPositionRows({Position("", 300)});
    rows.select(3);
    patrol.OnGoToPosition(nullptr);
    tick(3);
    EXPECT_EQ(std::make_pair(motion.automaticMode, state.phase), std::make_pair(0, 0));
    EXPECT_EQ(head.drain(), "5");

    patrol.OnStartAutomatic();
    tick(2);
    EXPECT_EQ(rows.changes.last(), qMakePair(0, 5));
    EXPECT_EQ(motion.direction, Left);
}

TEST_F(PatrolTest, ARunningTickIsNotEnteredAgainAndTimeNeverOverflows)
{
    motion.shownX = motion.shownY = MotionState::kNeverShown;
    patrol.OnStartAutomatic();
    state.inTick = 1;
    tick(3);
    EXPECT_EQ(state.elapsedMs, 0);
    EXPECT_TRUE(rows.changes.isEmpty() && window.texts.isEmpty()); // not even the display

    state.inTick = 0;
    tick();
    EXPECT_EQ(state.elapsedMs, 100);
    EXPECT_EQ(rows.changes.size(), 1);
    EXPECT_EQ(window.texts.size(), 2);

    patrol.OnStopAutomatic();
    state.elapsedMs = std::numeric_limits<int32_t>::max() - 50;
    tick(2);
    EXPECT_EQ(state.elapsedMs, std::numeric_limits<int32_t>::max());
}

// A go-to on a clock that moves 10 ms at a time: the stop leaves within the dead-reckoning tick
// that reaches the target, exactly on it or one tick past it, not at the next patrol tick.
TEST_F(PatrolTest, TheStopLeavesWithinTheTickThatReachesTheTarget)
{
    struct Case {
        int x, y;
        int32_t driveY;
        int stopTick; // dead-reckoning ticks until the stop; a drive starts just after a tick
        int32_t endX, endY;
        std::string wire;
    } const cases[] = {
        {30, 0, 0, 3, 30, 0, "655"},   // the counter lands on the target
        {25, 0, 0, 3, 30, 0, "655"},   // the first tick past it
        {-20, 0, 0, 2, -20, 0, "455"}, // Left
        {0, 40, 1, 5, 0, 40, "855"},   // Y, with X already there: it starts after the first tick
        {0, -15, 1, 3, 0, -20, "255"}, // Down, one tick past
    };
    ManualTickClock clock;
    TickThread deadReckoning;
    const auto stopTheTicks = qScopeGuard([&] {
        clock.release();
        deadReckoning.stop();
    });
    ASSERT_NE(deadReckoning.start(motion, clock, &arrival), 0);
    arrival.onArrival([this] { patrol.OnArrival(); });
    std::chrono::milliseconds now{10};
    ASSERT_TRUE(clock.waitForSleepUntil(now));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        motion.posX = motion.posY = 0;
        config.driveYPositions = c.driveY;
        rows = MemoryPositionRows({Position("P", c.x, c.y)});
        rows.select(3);
        patrol.OnGoToPosition(nullptr);
        for (int step = 0; step < 3 && motion.direction == Stop; ++step)
            patrol.OnPatrolTick();
        int stoppedAt = 0;
        for (int tick = 1; tick <= 6 && !stoppedAt; ++tick) {
            now += std::chrono::milliseconds(TickThread::kPeriodMs);
            clock.advance(std::chrono::milliseconds(TickThread::kPeriodMs));
            ASSERT_TRUE(clock.waitForSleepUntil(now));
            QElapsedTimer waited;
            waited.start();
            do
                QCoreApplication::processEvents();
            while (tick == c.stopTick && motion.direction != Stop && waited.elapsed() < 2000);
            stoppedAt = motion.direction == Stop ? tick : 0;
        }
        EXPECT_EQ(stoppedAt, c.stopTick);
        EXPECT_EQ(std::make_pair(motion.posX.load(), motion.posY.load()), std::make_pair(c.endX, c.endY));
        patrol.OnStopAutomatic();
        EXPECT_EQ(head.drain(), c.wire);
    }
}

// A command that does not reach the head leaves the counters unsure: the display says so, the
// patrol photographs nothing and starts again with the reference drive, and once the commands
// arrive again it visits the position and clicks there.
TEST_F(PatrolTest, ALostCommandMakesThePatrolStartAgainWithTheReferenceDrive)
{
    std::atomic<int> status{200};
    RawHttpServer relay([&status](const RawHttpRequest&) {
        return RawHttpResponse::answer("HTTP/1.1 " + std::to_string(status.load()) + " X");
    });
    UseLoopbackCamera(config, relay);
    config.commands[7] = QStringLiteral("click");
    config.portName = QStringLiteral("Kein");
    quickCycles();
    rows = MemoryPositionRows({Position("A", 300)});
    motion.shownX = motion.shownY = MotionState::kNeverShown;
    patrol.OnStartAutomatic();
    while (motion.direction != Right && ticks < 100)
        tick();
    status = 503;
    while (!motion.positionUncertain && ticks < 200)
        tick();
    ASSERT_EQ(motion.positionUncertain, 1) << "the refused stop";
    tick();
    EXPECT_TRUE(window.texts.last().second.endsWith(QStringLiteral(" ?")));
    status = 200;
    tick(40);

    std::string paths;
    for (const RawHttpRequest& request : relay.requests())
        paths += request.requestLine().substr(5, request.requestLine().find(" HTTP") - 5) + ' ';
    // Reference drive, drive to zero, the drive to A whose stop was refused, the stop of the
    // restart; then the reference drive again, the drive to zero, A, and only now the click.
    EXPECT_TRUE(paths.starts_with("cmd5 cmd1 cmd5 cmd1 cmd3 cmd1 cmd1 cmd5 cmd1 cmd5 cmd1 cmd3 cmd1 click ")) << paths;
    EXPECT_EQ(motion.positionUncertain, 0);
    EXPECT_FALSE(window.texts.last().second.endsWith(QStringLiteral(" ?")));
}
