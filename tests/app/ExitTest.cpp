#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "base/TextRules.h"
#include "motion/Direction.h"
#include "motion/TickThread.h"
#include "platform/DialogBuilder.h"
#include "platform/EndRequests.h"
#include "tests/support/ManualTickClock.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString kExitQuestion = u"Möchten Sie Pantiro wirklich beenden ?"_s;

void answerExit(MessageAnswer answer)
{
    ScriptedMessageBoxes::expect(kExitQuestion, MessageButtons::YesNo, MessageIcon::Question, answer);
}

bool timerRunning(const CAppDlg& window, const char* name)
{
    const auto* timer = window.findChild<QTimer*>(QString::fromLatin1(name));
    return timer && timer->isActive();
}

} // namespace

TEST_F(AppTest, ExitAnsweredNoChangesNothingAndTheTimersRunOn)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    answerExit(MessageAnswer::No);
    Control<QPushButton>(window, 150)->click();
    answerExit(MessageAnswer::No);
    window.close();

    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.tray().isAdded());
    EXPECT_TRUE(timerRunning(window, "timer100"));
    EXPECT_TRUE(timerRunning(window, "timer500"));
    EXPECT_EQ(setting("ActPos"), u"<missing>"_s);
    processState().motion.direction = 2;
    WAIT_UNTIL(processState().motion.posX > 0);
    processState().motion.direction = 0;
    WAIT_UNTIL_EQ(ControlText(window, 220), FormatCounter(processState().motion.posX));
}

TEST_F(AppTest, ExitAnsweredYesSavesTheFinalPositionAndReleasesEverything)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    QSignalSpy ended(&window, &CAppDlg::ended);
    processState().motion.posX = 350;
    processState().motion.posY = -20;
    answerExit(MessageAnswer::Yes);
    window.close();

    EXPECT_EQ(setting("ActPos"), u"350,-20"_s);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.tray().isAdded());
    EXPECT_FALSE(timerRunning(window, "timer100"));
    EXPECT_FALSE(timerRunning(window, "timer500"));
    EXPECT_EQ(ended.size(), 1);
    processState().motion.direction = 2;
    QTest::qWait(50);
    EXPECT_EQ(processState().motion.posX, 350) << "the tick thread has stopped";
}

// The desktop session's real end (the session manager's "die") reaches Pantiro as a request to
// quit: it ends in order, without the exit question that nobody is there to answer any more.
TEST_F(AppTest, TheSessionsEndEndsInOrderWithoutAsking)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    processState().motion.posX = 350;
    processState().motion.posY = -20;
    const EndRequests endRequests([this] { app->EndInOrder(); });
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);

    EXPECT_EQ(setting("ActPos"), u"350,-20"_s);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(timerRunning(window, "timer100"));
}

// The exit question stops the moving head; the position is saved before the tick thread is
// stopped and again after it, so a tick that read the direction before the stop and adds only
// after the first save is in the stored position too.
TEST_F(AppTest, ExitWhileMovingStoresWhereTheCountersStopped)
{
    writeSetting("Language", u"0"_s);
    const QString settingsFile =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Korvath"_s, QCoreApplication::applicationName())
            .fileName();
    ManualTickClock clock;
    TickThread::overrideClock(&clock);
    CAppDlg& window = start();
    TickThread::overrideClock(nullptr);
    const auto endWhileTheClockLives = qScopeGuard([&] {
        clock.release();
        stop();
    });
    ASSERT_TRUE(clock.waitForSleepUntil(10ms));
    processState().motion.direction = Right;
    clock.advance(30ms);
    ASSERT_TRUE(clock.waitForSleepUntil(40ms));

    // Once the first save is on disk, two ticks that still count Right come due while the exit
    // stops the thread.
    std::thread lateTicks([&] {
        for (int wait = 0; wait < 5000; ++wait) {
            QFile file(settingsFile);
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains("ActPos"))
                break;
            std::this_thread::sleep_for(2ms);
        }
        processState().motion.direction = Right;
        clock.advance(20ms);
        clock.release();
    });
    answerExit(MessageAnswer::Yes);
    window.close();
    lateTicks.join();

    EXPECT_EQ(processState().motion.posX, 50);
    EXPECT_EQ(setting("ActPos"), u"50,0"_s);
}

TEST_F(AppTest, EnterAndEscapeNeverCloseTheMainWindow)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    QWidget* exitButton = FindControl(window, 150);
    exitButton->setFocus();
    // Enter presses the focused "Beenden" as Space does, which only asks.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&window, key);
        if (key != Qt::Key_Escape)
            ScriptedMessageBoxes::expect(u"Möchten Sie Pantiro wirklich beenden ?"_s, MessageButtons::YesNo,
                                         MessageIcon::Question, MessageAnswer::No);
        QTest::keyClick(exitButton, key);
    }
    EXPECT_TRUE(window.isVisible());
}
