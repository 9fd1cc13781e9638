#include "motion/PatrolSequencer.h"
#include "base/AppConfig.h"
#include "base/Sound.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/DirectionControl.h"
#include "motion/MotionState.h"
#include "motion/PatrolState.h"
#include "motion/PatrolView.h"
#include "tests/motion/MemoryPositionRows.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/motion/RecordingMotionView.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

using Ticks = std::vector<int>;
struct DirectionChange {
    int tick;
    int32_t direction;
    bool operator==(const DirectionChange&) const = default;
};
using Changes = std::vector<DirectionChange>;

// The main window as the patrol sees it. A stop in automatic mode restores the automatic icon
// of the arrow that was moving; the counter X at that moment is kept for the order of zeroing.
class PatrolWindow : public RecordingMotionView, public PatrolView {
public:
    explicit PatrolWindow(const MotionState& motion) : motion_(motion) {}

    void setArrowIcon(int controlId, int iconId) override
    {
        RecordingMotionView::setArrowIcon(controlId, iconId);
        const int32_t moving = motion_.direction;
        if (moving != Stop && motion_.automaticMode && iconId == kArrows[moving].automaticIcon)
            xAtStops.push_back(motion_.posX);
    }
    void setButtonEnabled(int controlId, bool enabled) override { buttons.append({controlId, enabled}); }
    void setLamp(int bitmapId) override { lamps.append(bitmapId); }

    std::vector<int32_t> xAtStops;
    QList<QPair<int, bool>> buttons;
    QList<int> lamps;

private:
    const MotionState& motion_;
};

class RecordingSound : public Sound {
public:
    void play(int id) override { played.push_back(id); }
    std::vector<int> played;
};

// The patrol stepped tick by tick against a pseudo-terminal head and a loopback camera.
// Between ticks the counters travel 100 units in the commanded direction, as 10 ticks of
// the dead-reckoning thread would.
class PatrolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareLoopbackCameraRequests()); }

    void SetUp() override
    {
        ASSERT_TRUE(head.isOpen());
        ASSERT_TRUE(camera.isListening());
        UseLoopbackCamera(config, camera);
        config.portName = head.devicePath();
        config.portSlot = ports.Open(config.portName, 9600, 8, CommPort::ParityNone, CommPort::StopOne,
                                     CommPort::HandshakeAsIs, 0);
        ASSERT_GE(config.portSlot, 0);
        config.commands[7] = QStringLiteral("userclick");
        config.dwellMs = 1000;
        config.cyclePauseSec = 10;
        config.zeroDriveExtraSec = 5;
        config.referenceDriveSec = 60;
    }

    // Reference drive, drive to zero and pause each end at their first test: the positions
    // begin at tick 13 with both counters 0.
    void quickCycles()
    {
        config.referenceDriveSec = 0;
        config.zeroDriveExtraSec = 0;
        config.cyclePauseSec = 0;
    }

    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            ++ticks;
            const int32_t before = motion.direction;
            const size_t clicksBefore = clickCount();
            patrol.OnPatrolTick();
            if (motion.direction != before)
                changes.push_back({ticks, motion.direction});
            if (clickCount() != clicksBefore)
                clickTicks.push_back(ticks);
            if (!sound.played.empty() && soundTicks.size() < sound.played.size())
                soundTicks.push_back(ticks);
            travel();
        }
    }

    void travel()
    {
        switch (motion.direction) {
        case Up: motion.posY += 100; break;
        case Right: motion.posX += 100; break;
        case Down: motion.posY -= 100; break;
        case Left: motion.posX -= 100; break;
        default: break;
        }
    }

    size_t clickCount() const
    {
        size_t count = 0;
        for (const RawHttpRequest& request : camera.requests())
            count += request.requestLine() == "GET /userclick HTTP/1.1";
        return count;
    }
    std::vector<std::string> requestLines() const
    {
        std::vector<std::string> lines;
        for (const RawHttpRequest& request : camera.requests())
            lines.push_back(request.requestLine());
        return lines;
    }
    Ticks imageTicks(int row, int image) const;

    PseudoTerminal head;
    RawHttpServer camera;
    AppConfig config;
    CommPort ports;
    MotionState motion;
    PatrolState state;
    PatrolWindow window{motion};
    MemoryPositionRows rows;
    RecordingSound sound;
    DirectionControl control{motion, config, ports, window};
    PatrolSequencer patrol{state, motion, config, control, window, window, rows, sound};

    int ticks = 0;
    Changes changes;
    Ticks clickTicks;
    Ticks soundTicks;
};

QStringList Position(const char* name, int x, int y = 0)
{
    return {QString::fromUtf8(name), QString::number(x), QString::number(y)};
}

} // namespace

TEST_F(PatrolTest, AnEmptyListLoopsThroughDriveToZeroAndPauseWithoutAClick)
{
    motion.posY = 40;
    patrol.OnStartAutomatic();
    tick(814);
    // Reference drive 60 s, drive to zero 5 s, pause 10 s, then the next cycle starts with the
    // drive to zero: the reference drive runs once per Start.
    EXPECT_EQ(changes, (Changes{{2, Left}, {603, Stop}, {605, Left}, {656, Stop}, {763, Left}, {814, Stop}}));
    EXPECT_EQ(head.drain(), "454545");
    EXPECT_EQ(rows.images.mid(0, 6), (QList<QPair<int, int>>{{0, 5}, {0, 10}, {1, 5}, {1, 10}, {2, 5}, {2, 6}}));
    // The counters are zero before the stop leaves, and Y is zeroed although it never moved.
    EXPECT_EQ(window.xAtStops, (std::vector<int32_t>{-60100, 0, 0}));
    EXPECT_EQ(motion.posY, 0);
    EXPECT_TRUE(camera.requests().empty());
    EXPECT_EQ(state.referenceDone, 1);
}

TEST_F(PatrolTest, PositionsAreVisitedInOrderOverTheCameraRelayWithDwellClickAndSound)
{
    config.portName = QStringLiteral("Kein");
    config.referenceDriveSec = 0;
    config.cyclePauseSec = 0;
    config.soundSignals = 1;
    rows = MemoryPositionRows({Position("A", 3050), Position("B", 1000)});
    patrol.OnStartAutomatic();
    tick(210);

    EXPECT_EQ(changes, (Changes{{2, Left}, {4, Stop},  // a reference drive of 0 s still lasts two ticks
                                {6, Left}, {57, Stop},  // drive to zero: 5 s
                                {63, Right}, {94, Stop},  // to A, stopping past it at 3100
                                {110, Left}, {131, Stop},  // from the overshoot down to B
                                {149, Left}, {210, Stop}}));  // drive to zero: B's 1000 ms + 5 s
    // One second of dwell after each stop, then the click, then the sound.
    EXPECT_EQ(clickTicks, (Ticks{107, 144}));
    EXPECT_EQ(soundTicks, clickTicks);
    EXPECT_EQ(sound.played, (std::vector<int>{178, 178}));
    EXPECT_EQ(requestLines(),
              (std::vector<std::string>{"GET /cmd5 HTTP/1.1", "GET /cmd1 HTTP/1.1", "GET /cmd5 HTTP/1.1",
                                        "GET /cmd1 HTTP/1.1", "GET /cmd3 HTTP/1.1", "GET /cmd1 HTTP/1.1",
                                        "GET /userclick HTTP/1.1", "GET /cmd5 HTTP/1.1", "GET /cmd1 HTTP/1.1",
                                        "GET /userclick HTTP/1.1", "GET /cmd5 HTTP/1.1", "GET /cmd1 HTTP/1.1"}));
    EXPECT_EQ(head.drain(), "");
    EXPECT_EQ(state.lastTargetX, 1000);
    // Each position row shows the cog while visited and is brought into view.
    EXPECT_EQ(rows.scrolls, (QList<int>{0, 1, 2, 3, 4, 1}));
    EXPECT_EQ(rows.imageOf(3), 14);
}

TEST_F(PatrolTest, TheXAxisComesFirstAndYOnlyWhenAsked)
{
    struct Case {
        int x, y;
        int32_t driveY;
        std::string wire;  // after the drive to zero
        int clickTick;
        int32_t endX, endY;
    };
    const Case cases[] = {
        {0, 500, 0, "", 27, 0, 0},  // X equal: steps 30 and 50 follow on the next ticks
        {0, 500, 1, "85", 32, 0, 500},
        {250, 500, 1, "6585", 35, 300, 500},  // the overshoot stays in the counter
        {-150, -200, 1, "4525", 31, -200, -200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y << " driveY " << c.driveY);
        changes.clear();
        clickTicks.clear();
        ticks = 0;
        state.clear();
        motion.clear();
        quickCycles();
        config.driveYPositions = c.driveY;
        rows = MemoryPositionRows({Position("P", c.x, c.y)});
        patrol.OnStartAutomatic();
        tick(c.clickTick);
        patrol.OnStopAutomatic();
        EXPECT_EQ(head.drain(), "4545" + c.wire + "5");
        EXPECT_EQ(clickTicks, Ticks{c.clickTick});
        EXPECT_EQ(motion.posX, c.endX);
        EXPECT_EQ(motion.posY, c.endY);
    }
    EXPECT_TRUE(sound.played.empty());
}

TEST_F(PatrolTest, AnEmptyNameEndsEveryCycleThere)
{
    quickCycles();
    rows = MemoryPositionRows({Position("A", 0), Position("", 500), Position("C", 900)});
    patrol.OnStartAutomatic();
    tick(56);
    // Two cycles: A is clicked in each, the rows below the empty name are never loaded.
    EXPECT_EQ(clickTicks.size(), 2u);
    EXPECT_EQ(rows.images.count({5, 5}), 0);
    EXPECT_EQ(rows.images.count({0, 5}), 1);
    EXPECT_EQ(rows.images.count({1, 5}), 2);
    EXPECT_EQ(motion.posX, 0);
}

TEST_F(PatrolTest, StartAndStopSwitchTheWindowInOrderAndStopHaltsTheDrive)
{
    quickCycles();
    rows = MemoryPositionRows({Position("A", 3000), Position("B", 0)});
    patrol.OnStartAutomatic();
    using Buttons = QList<QPair<int, bool>>;
    EXPECT_EQ(window.buttons, (Buttons{{170, false}, {171, true}, {103, false}, {101, false}, {150, false},
                                       {300, false}, {301, false}, {302, false}}));
    EXPECT_EQ(window.lamps, QList<int>{167});
    EXPECT_EQ(window.icons, (QList<QPair<int, int>>{{200, 183}, {201, 185}, {202, 184}, {203, 182}}));
    EXPECT_EQ(motion.automaticMode, 1);
    EXPECT_TRUE(head.drain(10ms).empty());  // Start itself sends nothing

    tick(20);
    ASSERT_EQ(motion.direction, Right);
    EXPECT_EQ(head.drain(), "45456");
    window.buttons.clear();
    window.icons.clear();
    patrol.OnStopAutomatic();
    EXPECT_EQ(head.drain(), "5");
    EXPECT_EQ(window.buttons, (Buttons{{170, true}, {171, false}, {103, true}, {101, true}, {150, true}, {300, true},
                                       {301, true}, {302, true}}));
    EXPECT_EQ(window.lamps.last(), 168);
    EXPECT_EQ(window.icons.mid(0, 4), (QList<QPair<int, int>>{{200, 177}, {201, 179}, {202, 175}, {203, 180}}));
    EXPECT_EQ(window.icons.last(), qMakePair(202, 175));
    for (int row = 0; row < rows.rowCount(); ++row)
        EXPECT_EQ(rows.imageOf(row), (QList<int>{10, 10, 6, 14, 14}).at(row)) << row;
    EXPECT_EQ(motion.posX, 700);
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_EQ(state.phase, 0);
    EXPECT_EQ(state.step, 0);
    tick(5);
    EXPECT_EQ(head.drain(10ms), "");
}

TEST_F(PatrolTest, GoToAsksForAPositionRowAndRefusesDuringThePatrol)
{
    rows = MemoryPositionRows({Position("A", 100), Position("B", 200), Position("C", 300)});
    const QString select = QStringLiteral("Bitte wählen Sie die Beobachtungsposition aus der Liste aus !");
    ScriptedMessageBoxes::expect(select, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
    patrol.OnGoToPosition(nullptr);  // nothing selected
    rows.select(1);
    ScriptedMessageBoxes::expect(select, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
    patrol.OnGoToPosition(nullptr);
    rows = MemoryPositionRows({Position("A", 100), Position("B", 200), Position("C", 300)});
    rows.select(2);
    rows.select(5);  // the first selected row counts
    ScriptedMessageBoxes::expect(select, MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
    patrol.OnGoToPosition(nullptr);
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_TRUE(window.lamps.isEmpty());

    patrol.OnStartAutomatic();
    config.language = 1;
    ScriptedMessageBoxes::expect(QStringLiteral("You cannot edit while the system is in auto mode !"),
                                 MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok);
    patrol.OnGoToPosition(nullptr);
    EXPECT_EQ(state.phase, 0);
    EXPECT_EQ(state.goToOnly, 0);
}

TEST_F(PatrolTest, GoToDrivesToOnePositionAndAStartAfterItBeginsWithTheReferenceDrive)
{
    rows = MemoryPositionRows({Position("A", 100), Position("B", 700), Position("C", 300)});
    motion.posX = 700;
    rows.select(4);
    patrol.OnGoToPosition(nullptr);
    EXPECT_EQ(window.lamps, QList<int>{167});
    tick();
    EXPECT_EQ(rows.imageOf(4), 5);
    tick(2);
    EXPECT_EQ(motion.automaticMode, 1);
    tick();
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_EQ(rows.imageOf(4), 14);
    EXPECT_EQ(head.drain(), "5");  // the stop of Stop, nothing else: no drive, no dwell, no click
    EXPECT_TRUE(camera.requests().empty());

    // A go-to from elsewhere drives there; Y stays without driveYPositions.
    rows.select(3);
    patrol.OnGoToPosition(nullptr);
    tick(10);
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_EQ(motion.posX, 100);
    EXPECT_EQ(head.drain(), "455");

    patrol.OnStartAutomatic();
    tick(2);
    EXPECT_EQ(rows.images.last(), qMakePair(0, 5));
    EXPECT_EQ(motion.direction, Left);
    EXPECT_EQ(state.phase, 0);
}

TEST_F(PatrolTest, AGoToOfARowWithoutANameStopsAtOnceInsteadOfStartingACycle)
{
    rows = MemoryPositionRows({Position("", 900)});
    rows.select(3);
    patrol.OnGoToPosition(nullptr);
    tick();
    EXPECT_EQ(motion.automaticMode, 0);
    EXPECT_EQ(state.phase, 0);
    tick(5);
    EXPECT_EQ(head.drain(), "5");
    EXPECT_EQ(rows.imageOf(0), 10);
}

TEST_F(PatrolTest, ARunningTickIsNotEnteredAgainAndTimeNeverOverflows)
{
    motion.shownX = MotionState::kNeverShown;
    motion.shownY = MotionState::kNeverShown;
    patrol.OnStartAutomatic();
    state.inTick = 1;
    tick(3);
    EXPECT_EQ(state.elapsedMs, 0);
    EXPECT_TRUE(rows.images.isEmpty());
    EXPECT_TRUE(window.texts.isEmpty());  // not even the position display

    state.inTick = 0;
    tick();
    EXPECT_EQ(state.elapsedMs, 100);
    EXPECT_EQ(rows.images.size(), 1);
    EXPECT_EQ(window.texts.size(), 2);

    patrol.OnStopAutomatic();
    state.elapsedMs = std::numeric_limits<int32_t>::max() - 50;
    tick(2);
    EXPECT_EQ(state.elapsedMs, std::numeric_limits<int32_t>::max());
}
