#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "controls/CReportListCtrl.h"
#include "motion/TickThread.h"
#include "platform/DialogBuilder.h"
#include "positions/dialogs/CPosDlg.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/ManualTickClock.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int kStart = 170;
constexpr int kStop = 171;
constexpr int kLamp = 180;
constexpr int kExit = 150;
constexpr int kNew = 300;

QString listPath()
{
    return QDir::current().filePath(u"pantiro.lst"_s);
}

QByteArray listFile()
{
    QFile file(listPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeListFile(const QByteArray& contents)
{
    QFile file(listPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

class PositionsWindowTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        QFile::remove(listPath());
        writeSetting("Language", u"0"_s);
    }

    CReportListCtrl& list() { return *window->listControl(); }
    QPoint rowCentre(int row) { return list().visualRect(list().model()->index(row, 0)).center(); }
    QPoint inWindow(QPoint inListViewport) { return list().viewport()->mapTo(window, inListViewport); }
    int picture(int id) { return FindControl(*window, id)->property("pictureId").toInt(); }
    bool enabled(int id) { return FindControl(*window, id)->isEnabled(); }

    // A right click at a point of the window; `keys` go to the menu if one opens. Returns
    // whether a menu opened.
    bool rightClick(QPoint at, QList<Qt::Key> keys = {Qt::Key_Escape})
    {
        bool opened = false;
        QTimer::singleShot(100, [&] {
            QWidget* menu = QApplication::activePopupWidget();
            opened = menu != nullptr;
            for (Qt::Key key : keys)
                if (menu)
                    QTest::keyClick(menu, key);
        });
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, at);
        QTest::qWait(200);
        return opened;
    }

    CAppDlg* window = nullptr;
};

} // namespace

TEST_F(PositionsWindowTest, TheListCommandsAndTheContextMenuKeepTheFileInStep)
{
    writeListFile("Gate\t12\t-5\r\n");
    window = &start();
    ASSERT_EQ(list().GetItemCount(), 4);
    EXPECT_EQ(list().GetItemText(3, 0), u"Gate"_s);
    EXPECT_EQ(list().GetItemText(3, 1), u"12"_s) << "cells stay as read until changed";

    processState().motion.posX = 500;
    processState().motion.posY = -20;
    ScriptedMessageBoxes::expect(u"Die aktuelle Kameraposition als Beobachtungspunkt hinzufügen ?"_s,
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    Control<QPushButton>(*window, kNew)->click();
    EXPECT_EQ(listFile(), "Gate\t00012\t-0005\r\nPosition\t00500\t-0020\r\n");

    // The menu's third item removes the first selected position.
    list().selectRow(3);
    ScriptedMessageBoxes::expect(u"Möchten Sie die Beobachtungsposition wirklich aus der Liste entfernen ?"_s,
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    EXPECT_TRUE(rightClick(inWindow(rowCentre(3)), {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}));
    EXPECT_EQ(listFile(), "Position\t00500\t-0020\r\n");

    // Outside the list, and from the keyboard, nothing opens.
    EXPECT_FALSE(rightClick(FindControl(*window, 201)->geometry().center()));
    QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, rowCentre(3), window->mapToGlobal(rowCentre(3)));
    QTimer::singleShot(100, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            ADD_FAILURE() << "the menu key opened a menu";
            menu->close();
        }
    });
    QApplication::sendEvent(window, &fromKeyboard);

    // A double click edits through the position dialog.
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) {
        Control<QLineEdit>(dialog, CPosDlg::kNameId)->setText(u"Tor"_s);
        Control<QLineEdit>(dialog, CPosDlg::kXId)->setText(u" 42x"_s);
        Control<QPushButton>(dialog, CPosDlg::kOkId)->click();
    });
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowCentre(3));
    EXPECT_EQ(listFile(), "Tor\t00042\t-0020\r\n");

    // From the keyboard: Enter edits as the double click does, Delete removes as "Entfernen" does.
    list().setFocus();
    list().selectRow(3);
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) { dialog.reject(); });
    QTest::keyClick(&list(), Qt::Key_Return);
    ScriptedMessageBoxes::expect(u"Möchten Sie die Beobachtungsposition wirklich aus der Liste entfernen ?"_s,
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(list().GetItemCount(), 3);
}

TEST_F(PositionsWindowTest, WhileThePatrolRunsEditingExitAndTheMenuAreRefused)
{
    writeSetting("Options", u"0,0,1"_s);
    writeListFile("A\t100\t0\r\n");
    window = &start();
    // Started by itself, once the window runs.
    WAIT_UNTIL(!enabled(kStart));
    EXPECT_TRUE(enabled(kStop));
    EXPECT_EQ(picture(kLamp), 167);
    EXPECT_EQ(processState().motion.automaticMode, 1);

    Control<QPushButton>(*window, kExit)->click(); // no exit question
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(rightClick(inWindow(rowCentre(3))));
    ScriptedMessageBoxes::expect(u"Im Automatikbetrieb ist das Bearbeiten nicht möglich !"_s, MessageButtons::Ok,
                                 MessageIcon::Stop, MessageAnswer::Ok);
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowCentre(3));
    list().selectRow(3);
    QTest::keyClick(&list(), Qt::Key_Delete); // no question, nothing removed

    Control<QPushButton>(*window, kStop)->click();
    EXPECT_TRUE(enabled(kStart));
    EXPECT_FALSE(enabled(kStop));
    EXPECT_EQ(picture(kLamp), 168);
    EXPECT_EQ(listFile(), "A\t100\t0\r\n") << "the patrol never writes the list";
}

// The whole program's main job against the simulated camera and head: the patrol drives over the
// camera relay, and the camera records its clicks at the head's true pan, X / 100 degrees from
// the left end stop. The head and the dead-reckoning tick share one clock that moves 10 ms at a
// time, and the window takes each tick before the next, so the machine's load cannot blur what
// is measured. The positions lie off the 100 ms grid of the patrol's tick; every click lands
// within the one dead-reckoning tick that reached its position.
TEST_F(PositionsWindowTest, APatrolOverTheCameraRelayClicksAtEachPositionInListOrderTwice)
{
    ManualTickClock clock;
    HeadModel::Settings head;
    head.startPan = 0.0;
    head.startLatency = head.stopLatency = 0ms;
    HeadModel model(head, [&clock] { return clock.now(); });
    Panorama panorama(QSize(64, 48));
    UserClicks clicks;
    Faults faults;
    CameraServer camera(model, panorama, clicks, faults);
    ASSERT_TRUE(camera.start(0));
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(camera.port()).constData(), 1);
    writeSetting("CommAdr", u"127.0.0.1"_s);
    writeSetting("Times", u"150,0,1,1"_s);
    writeListFile("A\t00853\t00000\r\nB\t02437\t00000\r\nC\t01571\t00000\r\n");

    TickThread::overrideClock(&clock);
    window = &start();
    TickThread::overrideClock(nullptr);
    const auto endWhileTheClockLives = qScopeGuard([&] {
        clock.release();
        stop();
    });
    Control<QPushButton>(*window, kStart)->click();
    std::chrono::milliseconds now(TickThread::kPeriodMs);
    QElapsedTimer waited;
    waited.start();
    while (clicks.count() < 6 && waited.elapsed() < 60000) {
        ASSERT_TRUE(clock.waitForSleepUntil(now));
        QTest::qWait(5);
        // A camera that answers at once: no tick passes while a command is on its way.
        WAIT_UNTIL(window->commandsSettled());
        now += std::chrono::milliseconds(TickThread::kPeriodMs);
        clock.advance(std::chrono::milliseconds(TickThread::kPeriodMs));
    }
    Control<QPushButton>(*window, kStop)->click();
    unsetenv("PANTIRO_CAMERA_PORT");

    const std::vector<UserClicks::Click> recorded = clicks.last();
    const double ideal[] = {8.53, 24.37, 15.71, 8.53, 24.37, 15.71};
    ASSERT_GE(recorded.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_NEAR(recorded[i].pan, ideal[i], 0.1) << "click " << i + 1;
    EXPECT_EQ(listFile(), "A\t00853\t00000\r\nB\t02437\t00000\r\nC\t01571\t00000\r\n");
}

// A camera that answers, and applies, every command a second late: each drive still stops at its
// position, because its stop leaves at the tick that reaches the target and the next command
// waits for the answers before it; the clicks find the head standing there, in real time.
TEST_F(PositionsWindowTest, APatrolOverASlowCameraRelayStillStopsAtEachPosition)
{
    HeadModel::Settings head;
    head.startPan = 0.0;
    head.startLatency = head.stopLatency = 0ms;
    HeadModel model(head);
    Panorama panorama(QSize(64, 48));
    UserClicks clicks;
    Faults faults(Faults::Settings{1000});
    CameraServer camera(model, panorama, clicks, faults);
    ASSERT_TRUE(camera.start(0));
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(camera.port()).constData(), 1);
    writeSetting("CommAdr", u"127.0.0.1"_s);
    writeSetting("Times", u"150,0,0,0"_s);
    writeListFile("A\t00853\t00000\r\nB\t02437\t00000\r\n");
    window = &start();
    Control<QPushButton>(*window, kStart)->click();
    WAIT_UNTIL_MS(clicks.count() >= 2, 40000);
    Control<QPushButton>(*window, kStop)->click();
    unsetenv("PANTIRO_CAMERA_PORT");

    const std::vector<UserClicks::Click> recorded = clicks.last();
    ASSERT_GE(recorded.size(), 2u);
    EXPECT_NEAR(recorded[0].pan, 8.53, 0.25);
    EXPECT_NEAR(recorded[1].pan, 24.37, 0.25);
}

TEST_F(PositionsWindowTest, APipeForAListStartsAnEmptyListSaysSoOnceAndIsNeverWrittenOver)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(listPath()).constData(), 0600), 0);
    ScriptedMessageBoxes::expect(u"Die Positionsdatei %1 ist keine lesbare Positionsliste. Die Liste beginnt leer und "
                                 u"wird nicht gespeichert !"_s.arg(listPath()),
                                 MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok);
    ScriptedMessageBoxes::expect(u"Die aktuelle Kameraposition als Beobachtungspunkt hinzufügen ?"_s,
                                 MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    window = &start();
    EXPECT_TRUE(QTest::qWaitFor([] { return ScriptedMessageBoxes::shown().size() == 1; }));
    Control<QPushButton>(*window, kNew)->click();
    EXPECT_EQ(list().GetItemCount(), 4);
    EXPECT_FALSE(QFileInfo(listPath()).isFile()) << "the pipe is still there";
}
