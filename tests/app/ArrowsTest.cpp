#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "platform/DialogBuilder.h"
#include "platform/ModalDialog.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

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

TEST_F(ArrowsTest, PressingUpSendsEightAndShowsThePressedIconReleasingSendsFive)
{
    startWindow();
    press(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "8");
    EXPECT_EQ(arrowIcon(kUpArrow), 178);
    EXPECT_EQ(processState().motion.direction, 1);
    WAIT_UNTIL(processState().motion.posY > 0);

    release(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "5");
    EXPECT_EQ(arrowIcon(kUpArrow), 179);
    EXPECT_EQ(received(), "");
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
        SCOPED_TRACE(c.name);
        window->showNormal();
        window->activateWindow();
        WAIT_UNTIL(window->isActiveWindow());
        press(arrow(kUpArrow).center());
        EXPECT_EQ(read(1), "8");
        c.interrupt(*window);
        EXPECT_EQ(received(), "5");
        EXPECT_EQ(arrowIcon(kUpArrow), 179);
        EXPECT_EQ(processState().motion.direction, 0);

        release(arrow(kUpArrow).center());
        EXPECT_EQ(received(), "") << "the release after the stop sends no second one";
        press(arrow(kUpArrow).center());
        release(arrow(kUpArrow).center());
        EXPECT_EQ(read(2), "85") << "the next press works as ever";
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

// A head that a crashed Pantiro left running is stopped by the next start (above, in every test
// here); the position is stored as soon as the head rests, so that a crash loses at most the move
// under way.
TEST_F(ArrowsTest, AStartStopsTheHeadAndARestingPositionIsStored)
{
    startWindow();
    press(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "8");
    WAIT_UNTIL(processState().motion.posY >= 200);
    release(arrow(kUpArrow).center());
    EXPECT_EQ(read(1), "5");
    const int32_t y = processState().motion.posY;
    WAIT_UNTIL_EQ(setting("ActPos"), QStringLiteral("0,%1").arg(y));
}
