#include "platform/TrayIcon.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

TEST(TrayIcon, ClicksArriveAsMouseMessagesWithTheIconId)
{
    TrayIcon tray(1000, nullptr);
    QSignalSpy notified(&tray, &TrayIcon::notify);
    tray.add(QIcon(), u"Pantiro"_s);
    auto* icon = tray.findChild<QSystemTrayIcon*>();
    ASSERT_TRUE(icon);
    emit icon->activated(QSystemTrayIcon::Trigger);
    emit icon->activated(QSystemTrayIcon::Context);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    emit icon->activated(QSystemTrayIcon::Unknown);
    ASSERT_EQ(notified.size(), 3);
    EXPECT_EQ(notified.at(0), (QVariantList{1000, TrayIcon::kLeftButtonDown}));
    EXPECT_EQ(notified.at(1), (QVariantList{1000, TrayIcon::kRightButtonDown}));
    EXPECT_EQ(notified.at(2), (QVariantList{1000, TrayIcon::kLeftButtonDoubleClick}));
}

TEST(TrayIcon, TheHostGoingAwayIsReportedOnceAndOnlyWhileTheIconIsAdded)
{
    TrayIcon tray(1000, nullptr);
    QSignalSpy lost(&tray, &TrayIcon::hostLost);
    TrayIcon::overrideAvailability(true);
    tray.add(QIcon(), u"Pantiro"_s);
    TrayIcon::overrideAvailability(false);
    EXPECT_TRUE(lost.wait(4 * TrayIcon::kHostPollMs));
    QTest::qWait(3 * TrayIcon::kHostPollMs);
    EXPECT_EQ(lost.size(), 1) << "an absent host is not lost again";

    TrayIcon::overrideAvailability(true);
    QTest::qWait(2 * TrayIcon::kHostPollMs);
    tray.remove();
    TrayIcon::overrideAvailability(false);
    QTest::qWait(2 * TrayIcon::kHostPollMs);
    EXPECT_EQ(lost.size(), 1) << "a removed icon watches nothing";
    TrayIcon::overrideAvailability(std::nullopt);
}
