#include "tests/app/AppTestFixture.h"

#include "app/AppDlgTemplate.h"
#include "base/JournalEvents.h"
#include "base/PasswordFile.h"
#include "platform/DialogBuilder.h"
#include "positions/dialogs/CLoginDlg.h"
#include "positions/dialogs/SetupDlgTemplate.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/HeadProtocol.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <string>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStart = 170;
constexpr int kStop = 171;
constexpr int kUpArrow = 201;
constexpr char kList[] = "P1\t00300\t00000\r\nP2\t00600\t00000\r\nP3\t00400\t00000\r\n";
const QByteArray kPassword = "Nacht 7:Wache \xC3\xBC";

QString JournalText()
{
    QFile file(JournalPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The real window steering the simulated head over the camera's relay, with a camera that
// requires the login "wache" and kPassword; the password is in the file beside the profile.
class CameraLogin : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(proxy);
        camera.requireLogin("wache", kPassword, LoginCheck::Scheme::Digest);
        ASSERT_TRUE(camera.start(0));
        setenv("PANTIRO_CAMERA_PORT", std::to_string(camera.port()).c_str(), 1);
        writeSetting("Language", u"1"_s);
        writeSetting("CommAdr", u"127.0.0.1"_s);
        writeSetting("CameraUser", u"wache"_s);
        writeSetting("Times", u"150,0,0,1"_s);
        QFile list(QDir::current().filePath(u"pantiro.lst"_s));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate) && list.write(kList) > 0);
        QFile::remove(JournalPath());
    }

    void TearDown() override
    {
        AppTest::TearDown();
        QFile::remove(PasswordFilePath());
        unsetenv("PANTIRO_CAMERA_PORT");
    }

    static void putPassword(const QByteArray& password)
    {
        ASSERT_TRUE(WritePasswordFile(PasswordFilePath(), password));
    }

    int refusedLines() const { return static_cast<int>(JournalText().count(u"camera refused the login"_s)); }

    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(160, 120)};
    UserClicks clicks;
    Faults faults;
    CameraServer camera{head, panorama, clicks, faults};
};

// libcurl answers the Digest challenge for every kind of request: the head follows the relayed
// commands, the live picture comes, and the camera records a picture at every position.
TEST_F(CameraLogin, APatrolAgainstACameraThatRequiresDigestClicksAtEveryPosition)
{
    putPassword(kPassword);
    CAppDlg& window = start();
    Control<QPushButton>(window, kStart)->click();
    WAIT_UNTIL_MS(clicks.count() >= 4, 30000);
    Control<QPushButton>(window, kStop)->click();
    WAIT_UNTIL(JournalText().contains(u"patrol stopped"_s));

    const QString journal = JournalText();
    for (const char* position : {"P1", "P2", "P3"})
        EXPECT_TRUE(journal.contains(u"user click at \"%1\": success"_s.arg(QLatin1String(position)))) << position;
    EXPECT_FALSE(journal.contains(u"HTTP status 401"_s)) << qPrintable(journal);
    EXPECT_EQ(refusedLines(), 0);
    EXPECT_GT(head.state().commands, 6);
    EXPECT_GT(camera.picturesServed(), 0);
}

// A wrong password: one box at the first command refused by hand, none for the commands after it
// or during the patrol, one journal line, and the live picture failing. The password typed into
// the login dialog applies at once, without a restart, and goes to the file it was kept in.
TEST_F(CameraLogin, AWrongPasswordIsToldOnceAndTheRightOneTypedInAppliesAtOnce)
{
    putPassword("falsch");
    CAppDlg& window = start();
    ScriptedMessageBoxes::expect(u"The camera refused the user name or password !"_s, MessageButtons::Ok,
                                 MessageIcon::Stop, MessageAnswer::Ok);
    const QPoint up = FindControl(window, kUpArrow)->geometry().center();
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up, 50);
        WAIT_UNTIL(ScriptedMessageBoxes::shown().size() == 1);
    }
    Control<QPushButton>(window, kStart)->click();
    WAIT_UNTIL_MS(JournalText().contains(u"user click at \"P1\": HTTP status 401"_s), 20000);
    WAIT_UNTIL(JournalText().contains(u"live picture failing: HTTP status 401"_s));
    Control<QPushButton>(window, kStop)->click();
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);
    EXPECT_EQ(refusedLines(), 1) << qPrintable(JournalText());
    EXPECT_EQ(head.state().commands, 0);

    dialogs.expect(u"CSetupDlg"_s, [](QDialog& settings) {
        Control<QPushButton>(settings, SetupDlgId::Login)->click();
        Control<QPushButton>(settings, SetupDlgId::Cancel)->click();
    });
    dialogs.expect(u"CLoginDlg"_s, [](QDialog& login) {
        EXPECT_EQ(ControlText(login, CLoginDlg::kUserId), u"wache"_s);
        EXPECT_EQ(Control<QLineEdit>(login, CLoginDlg::kPasswordId)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(ControlText(login, CLoginDlg::kPasswordId), QString()) << "a stored password is never shown";
        SetControlText(login, CLoginDlg::kPasswordId, QString::fromUtf8(kPassword));
        Control<QPushButton>(login, CLoginDlg::kOkId)->click();
    });
    Control<QPushButton>(window, AppDlgId::Settings)->click();
    // The stop still being sent again is taken now; then the arrow moves the head.
    WAIT_UNTIL(head.state().commands >= 1);
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
    WAIT_UNTIL(head.state().lastCommand == HeadMotion::Up);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up);
    WAIT_UNTIL(head.state().lastCommand == HeadMotion::Stop);
    EXPECT_EQ(ReadPasswordFile(PasswordFilePath()).password, kPassword);
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);
}

} // namespace
