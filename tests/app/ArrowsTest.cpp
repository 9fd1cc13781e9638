#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "controls/CReportListCtrl.h"
#include "platform/DialogBuilder.h"
#include "platform/ModalDialog.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kUpArrow = 201;

// A main window whose head hangs on a pseudo-terminal.
class ArrowsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_FALSE(line.devicePath().isEmpty());
        writeSetting("Language", u"0"_s);
        writeSetting("Comm", line.devicePath() + u",9600"_s);
    }

    // Every start with a port sends a stop before anything else.
    void startWindow()
    {
        window = &start();
        EXPECT_EQ(read(1), "5") << "no stop at the start";
    }
    void press(QPoint at) { QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at); }
    // A key as the window system gives it, to the control with the focus.
    void key(bool down, Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::KeypadModifier, bool repeat = false)
    {
        QTest::simulateEvent(window->windowHandle(), down, code, modifiers, {}, repeat);
    }
    void release(QPoint at) { QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, at); }
    QRect arrow(int id) const { return FindControl(*window, id)->geometry(); }
    int arrowIcon(int id) const { return FindControl(*window, id)->property("pictureId").toInt(); }
    // What the head receives within `waitMs`, returning early once `count` bytes are there.
    std::string read(size_t count, int waitMs = 2000) { return line.read(count, std::chrono::milliseconds(waitMs)); }
    // Everything the head received in the last moments.
    std::string received() { return read(16, 150); }

    PseudoTerminal line;
    CAppDlg* window = nullptr;
};

} // namespace

// The start's stop (startWindow) halts a head that a crashed Pantiro left running; the position
// is stored as soon as the head rests, so that a crash loses at most the move under way.
TEST_F(ArrowsTest, PressingUpSendsEightAndShowsThePressedIconReleasingSendsFive)
{
    startWindow();
    press(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "8");
    EXPECT_EQ(arrowIcon(kUpArrow), 178);
    EXPECT_EQ(processState().motion.direction, 1);
    WAIT_UNTIL(processState().motion.posY >= 200);

    release(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "5");
    EXPECT_EQ(arrowIcon(kUpArrow), 179);
    EXPECT_EQ(received(), "");
    const int32_t y = processState().motion.posY;
    WAIT_UNTIL_EQ(setting("ActPos"), QStringLiteral("0,%1").arg(y));
}

TEST_F(ArrowsTest, ThePressOnAnArrowsRightOrBottomEdgeIsAHit)
{
    startWindow();
    const QRect up = arrow(kUpArrow);
    press({up.x() + up.width(), up.center().y()});
    release({up.x() + up.width(), up.center().y()});
    press({up.center().x(), up.y() + up.height()});
    release({up.center().x(), up.y() + up.height()});
    press({up.x() + up.width() + 1, up.y() - 1});
    release({up.x() + up.width() + 1, up.y() - 1});
    EXPECT_EQ(read(5), "85855");
    EXPECT_EQ(received(), "");
}

TEST_F(ArrowsTest, AReleaseAnywhereSendsOneStop)
{
    startWindow();
    press(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "8");
    release({window->width() + 200, -50}); // outside the window
    EXPECT_EQ(received(), "5");
    EXPECT_EQ(processState().motion.direction, 0);

    // A label, a group box and the background pass the press and the release on to the window.
    for (int id : {220, 51}) {
        const QPoint at = FindControl(*window, id)->geometry().topLeft() + QPoint(3, 3);
        press(at);
        release(at);
        EXPECT_EQ(received(), "5") << id;
    }
}

// The keys steer whichever control has the focus; the list keeps its own arrow keys.
TEST_F(ArrowsTest, AHeldKeyMovesAsItsArrowOverAutoRepeatAndLettingGoOfAnyKeyStops)
{
    startWindow();
    CReportListCtrl& list = *window->listControl();
    list.setFocus();
    list.selectRow(1);
    key(true, Qt::Key_8);
    EXPECT_EQ(read(1), "8");
    EXPECT_EQ(arrowIcon(kUpArrow), 178);
    WAIT_UNTIL(processState().motion.posY > 0);
    for (int i = 0; i < 5; ++i) {
        key(false, Qt::Key_8, Qt::KeypadModifier, true);
        key(true, Qt::Key_8, Qt::KeypadModifier, true);
    }
    EXPECT_EQ(received(), "") << "auto-repeat sends neither a stop nor a new move";
    key(false, Qt::Key_8);
    EXPECT_EQ(read(1), "5");
    EXPECT_EQ(arrowIcon(kUpArrow), 179);
    EXPECT_EQ(list.currentIndex().row(), 1) << "the list did not see the keys";

    // Two keys: the newest wins, letting go of either stops, the other's release sends nothing.
    key(true, Qt::Key_Right, Qt::ControlModifier);
    key(true, Qt::Key_4);
    EXPECT_EQ(read(2), "64");
    key(false, Qt::Key_Right, Qt::NoModifier); // Ctrl let go first
    key(false, Qt::Key_4);
    EXPECT_EQ(received(), "5");
    // The keypad's 5 stops a held arrow, whose release then sends nothing; NumLock off steers too.
    press(arrow(kUpArrow).center());
    key(true, Qt::Key_Clear);
    key(false, Qt::Key_Clear);
    release(arrow(kUpArrow).center());
    key(true, Qt::Key_Down);
    key(false, Qt::Key_Down);
    EXPECT_EQ(received(), "8525");
    key(true, Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(received(), "");
    EXPECT_EQ(list.currentIndex().row(), 2);
}

// Enter on a focused button: AppTest.EnterAndEscapeNeverCloseTheMainWindow.
TEST_F(ArrowsTest, TabReachesEveryButtonAndTheList)
{
    startWindow();
    QSet<int> reached;
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        if (QWidget* focus = QApplication::focusWidget())
            reached.insert(focus->property("controlId").toInt());
    }
    EXPECT_EQ(reached, QSet<int>({100, 101, 102, 103, 150, 170, 300, 301, 302, 600}));
}

TEST_F(ArrowsTest, AHeldArrowStopsOnceWhenTheWindowCanNoLongerSeeTheRelease)
{
    struct Case {
        const char* name;
        std::function<void(CAppDlg&)> interrupt;
    };
    const Case cases[] = {
        {"exit question answered No",
         [](CAppDlg& w) {
             ScriptedMessageBoxes::expect(u"Möchten Sie Pantiro wirklich beenden ?"_s, MessageButtons::YesNo,
                                          MessageIcon::Question, MessageAnswer::No);
             w.close();
         }},
        {"minimised", [](CAppDlg& w) { w.showMinimized(); }},
        {"deactivated",
         [](CAppDlg& w) {
             auto* other = new QWidget;
             other->setAttribute(Qt::WA_DeleteOnClose);
             other->show();
             other->activateWindow();
             WAIT_UNTIL(!w.isActiveWindow());
             other->close();
         }},
        {"modal dialog",
         [this](CAppDlg& w) {
             dialogs.expect(u"QDialog"_s, [](QDialog& dialog) { dialog.reject(); });
             QDialog dialog(&w);
             RunModal(dialog);
         }},
    };
    TrayIcon::overrideAvailability(false);
    startWindow();
    for (const Case& c : cases) {
        // Held with the mouse, and with the keypad's 8.
        for (const bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (byKey ? ", key" : ", mouse"));
            const auto hold = [&](bool down) {
                byKey  ? key(down, Qt::Key_8)
                : down ? press(arrow(kUpArrow).center())
                       : release(arrow(kUpArrow).center());
            };
            window->showNormal();
            window->activateWindow();
            WAIT_UNTIL(window->isActiveWindow());
            hold(true);
            EXPECT_EQ(read(1), "8");
            c.interrupt(*window);
            EXPECT_EQ(received(), "5");
            EXPECT_EQ(arrowIcon(kUpArrow), 179);
            EXPECT_EQ(processState().motion.direction, 0);

            hold(false);
            EXPECT_EQ(received(), "") << "the release after the stop sends no second one";
            window->activateWindow();
            WAIT_UNTIL(window->isActiveWindow());
            hold(true);
            hold(false);
            EXPECT_EQ(read(2), "85") << "the next press works as ever";
        }
    }
}

TEST_F(ArrowsTest, WhileAPatrolSteersNothingModalSendsAStop)
{
    startWindow();
    processState().motion.automaticMode = 1;
    processState().motion.direction = 1;
    dialogs.expect(u"QDialog"_s, [](QDialog& dialog) { dialog.reject(); });
    QDialog dialog(window);
    RunModal(dialog);
    window->showMinimized();
    EXPECT_EQ(received(), "");
    EXPECT_EQ(processState().motion.direction, 1);
    processState().motion.direction = 0;
}

TEST_F(AppTest, NullsetzenAsksAndOnYesTheDisplayShowsZero)
{
    writeSetting("Language", u"0"_s);
    writeSetting("ActPos", u"-120,40"_s);
    CAppDlg& window = start();
    WAIT_UNTIL_EQ(ControlText(window, 220), u"-0120"_s);
    EXPECT_EQ(ControlText(window, 221), u"00040"_s);

    const QString question = u"Möchten Sie die aktuelle Kameraposition auf Nullposition setzen ?"_s;
    ScriptedMessageBoxes::expect(question, MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No);
    Control<QPushButton>(window, 103)->click();
    EXPECT_EQ(processState().motion.posX, -120);
    ScriptedMessageBoxes::expect(question, MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    Control<QPushButton>(window, 103)->click();
    WAIT_UNTIL_EQ(ControlText(window, 220), u"00000"_s);
    EXPECT_EQ(ControlText(window, 221), u"00000"_s);
}
