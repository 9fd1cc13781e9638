#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "tests/support/WaitUntil.h"

#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void click(const CAppDlg& window, QSystemTrayIcon::ActivationReason reason)
{
    emit window.findChild<QSystemTrayIcon*>()->activated(reason);
}

} // namespace

TEST_F(AppTest, WithATrayMinimisingHidesTheWindowAndALeftClickBringsItBackCentred)
{
    writeSetting("Language", u"0"_s);
    TrayIcon::overrideAvailability(true);
    CAppDlg& window = start();
    window.move(10, 10);
    window.showMinimized();
    WAIT_UNTIL(!window.isVisible());
    EXPECT_EQ(processState().motion.minimised, 1);

    click(window, QSystemTrayIcon::Context);
    click(window, QSystemTrayIcon::MiddleClick);
    QTest::qWait(20);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.OnTrayNotify(999, TrayIcon::kLeftButtonDown), 0);
    EXPECT_FALSE(window.isVisible());

    click(window, QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_EQ(processState().motion.minimised, 0);
    const QPoint offCentre = window.frameGeometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
}

TEST_F(AppTest, WithoutATrayMinimisingOnlyMinimises)
{
    writeSetting("Language", u"0"_s);
    TrayIcon::overrideAvailability(false);
    CAppDlg& window = start();
    window.showMinimized();
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_EQ(processState().motion.minimised, 1);
}

TEST_F(AppTest, WhenTheTrayHostQuitsTheHiddenWindowComesBackByItself)
{
    writeSetting("Language", u"0"_s);
    TrayIcon::overrideAvailability(true);
    CAppDlg& window = start();
    WAIT_UNTIL(window.tray().isAdded());
    window.showMinimized();
    WAIT_UNTIL(!window.isVisible());

    TrayIcon::overrideAvailability(false);
    WAIT_UNTIL_MS(window.isVisible(), 4 * TrayIcon::kHostPollMs);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_EQ(processState().motion.minimised, 0);
    window.showMinimized();
    QTest::qWait(2 * TrayIcon::kHostPollMs);
    EXPECT_TRUE(window.isVisible()) << "no tray now, so minimising only minimises";
}
