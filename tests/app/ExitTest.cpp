#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "base/TextRules.h"
#include "platform/DialogBuilder.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

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
    QTRY_VERIFY(processState().motion.posX > 0);
    processState().motion.direction = 0;
    QTRY_COMPARE(ControlText(window, 220), FormatCounter(processState().motion.posX));
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

TEST_F(AppTest, EnterAndEscapeNeverCloseTheMainWindow)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    QWidget* exitButton = FindControl(window, 150);
    exitButton->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&window, key);
        QTest::keyClick(exitButton, key);
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(ScriptedMessageBoxes::shown().isEmpty());
}
