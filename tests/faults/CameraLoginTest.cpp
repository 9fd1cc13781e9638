#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"

#include "app/AppDlgTemplate.h"
#include "base/JournalEvents.h"
#include "base/PasswordFile.h"
#include "platform/CameraSecret.h"
#include "platform/DialogBuilder.h"
#include "positions/dialogs/CLoginDlg.h"
#include "positions/dialogs/SetupDlgTemplate.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/HeadProtocol.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/positions/FileBytes.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QCheckBox>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

const QByteArray kPassword = "Nacht 7:Wache \xC3\xBC";

// The real window steering the simulated head over the camera's relay, with a camera that
// requires the login "wache" and kPassword (Digest); the password is in the file beside the profile.
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
        for (const auto& [name, value] : {std::pair{"Language", u"1"_s},
                                          {"CommAdr", u"127.0.0.1"_s},
                                          {"CameraUser", u"wache"_s},
                                          {"Times", u"150,0,0,1"_s}})
            writeSetting(name, value);
        ASSERT_TRUE(WriteFileBytes(u"pantiro.lst"_s, "P1\t00300\t00000\r\nP2\t00600\t00000\r\nP3\t00400\t00000\r\n"));
        QFile::remove(JournalPath());
    }

    void TearDown() override
    {
        AppTest::TearDown();
        QFile::remove(PasswordFilePath());
        unsetenv("PANTIRO_CAMERA_PORT");
    }

    // The settings' Login button, `fill` on the login dialog, then `closeSettings` (Ok or Cancel).
    void changeLogin(CAppDlg& window, int closeSettings, ScriptedDialogs::Action fill)
    {
        dialogs.expect(u"CSetupDlg"_s, [closeSettings](QDialog& settings) {
            Control<QPushButton>(settings, SetupDlgId::Login)->click();
            Control<QPushButton>(settings, closeSettings)->click();
        });
        dialogs.expect(u"CLoginDlg"_s, std::move(fill));
        Control<QPushButton>(window, AppDlgId::Settings)->click();
    }

    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(160, 120)};
    UserClicks clicks;
    Faults faults;
    CameraServer camera{head, panorama, clicks, faults};
};

// libcurl answers the Digest challenge of every kind of request: the patrol that starts with the
// window (after the password is read) drives the head and records a picture at every position,
// and the live picture comes. The password is then in no file but its own, and neither on the
// command line nor in the environment.
TEST_F(CameraLogin, APatrolAgainstACameraThatRequiresDigestClicksAtEveryPosition)
{
    ASSERT_TRUE(WritePasswordFile(PasswordFilePath(), kPassword));
    writeSetting("Options", u"0,0,1"_s);
    CAppDlg& window = start();
    WAIT_UNTIL_MS(clicks.count() >= 4 && camera.picturesServed() > 0, 30000);
    Control<QPushButton>(window, AppDlgId::Stop)->click();
    stop();

    const QByteArray journal = FileBytes(JournalPath());
    for (const char* position : {"P1", "P2", "P3"})
        EXPECT_TRUE(journal.contains("user click at \"" + QByteArray(position) + "\": success")) << position;
    EXPECT_FALSE(journal.contains("HTTP status 401")) << journal.constData();
    EXPECT_GT(head.state().commands, 6);
    EXPECT_EQ(processState().motion.commandsLost, 0u) << "every command, the start's stop too, went with the login";
    // The profile, the journal and the working folder all lie in the test's home.
    for (QDirIterator it(QDir::homePath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        EXPECT_TRUE(path == PasswordFilePath() || !FileBytes(path).contains(kPassword)) << qPrintable(path);
    }
    EXPECT_FALSE(FileBytes(u"/proc/self/cmdline"_s).contains(kPassword));
    for (char** variable = environ; *variable != nullptr; ++variable)
        EXPECT_FALSE(QByteArray(*variable).contains(kPassword)) << *variable;
}

// A wrong password: one box at the first command refused by hand, none for the commands after it
// or during the patrol, one journal line, and the live picture failing. The password typed into
// the login dialog applies at once, without a restart, and goes to the file it was kept in.
TEST_F(CameraLogin, AWrongPasswordIsToldOnceAndTheRightOneTypedInAppliesAtOnce)
{
    ASSERT_TRUE(WritePasswordFile(PasswordFilePath(), "falsch"));
    CAppDlg& window = start();
    ScriptedMessageBoxes::expect(u"The camera refused the user name or password !"_s, MessageButtons::Ok,
                                 MessageIcon::Stop, MessageAnswer::Ok);
    const QPoint up = FindControl(window, AppDlgId::ArrowUp)->geometry().center();
    for (int i = 0; i < 3; ++i) {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up, 50);
        WAIT_UNTIL(ScriptedMessageBoxes::shown().size() == 1);
    }
    // Every command refused: the patrol knows the head's place no more and photographs nothing.
    Control<QPushButton>(window, AppDlgId::Start)->click();
    WAIT_UNTIL_MS(FileBytes(JournalPath()).contains("position uncertain"), 20000);
    WAIT_UNTIL(FileBytes(JournalPath()).contains("live picture failing: HTTP status 401"));
    Control<QPushButton>(window, AppDlgId::Stop)->click();
    EXPECT_FALSE(FileBytes(JournalPath()).contains("user click at"));
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);
    EXPECT_EQ(FileBytes(JournalPath()).count("camera refused the login of user \"wache\""), 1);
    EXPECT_EQ(head.state().commands, 0);

    changeLogin(window, SetupDlgId::Cancel, [](QDialog& login) {
        EXPECT_EQ(ControlText(login, CLoginDlg::kUserId), u"wache"_s);
        EXPECT_EQ(Control<QLineEdit>(login, CLoginDlg::kPasswordId)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(ControlText(login, CLoginDlg::kPasswordId), QString()) << "a stored password is never shown";
        SetControlText(login, CLoginDlg::kPasswordId, QString::fromUtf8(kPassword));
        Control<QPushButton>(login, CLoginDlg::kOkId)->click();
    });
    // The stop still being sent again is taken now; then the arrow moves the head.
    WAIT_UNTIL(head.state().commands >= 1);
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up);
    WAIT_UNTIL(head.state().lastCommand == HeadMotion::Up);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up);
    WAIT_UNTIL(head.state().lastCommand == HeadMotion::Stop);
    EXPECT_EQ(ReadPasswordFile(PasswordFilePath()).password, kPassword);
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);
}

// The password in the desktop's keyring (a gnome-keyring of the test's own, see with-keyring.sh),
// under an entry that names Pantiro and the profile: read at start, it opens the camera. The
// login dialog moves it to the file (the field left empty keeps it), and the keyring entry goes.
TEST_F(CameraLogin, ThePasswordInTheKeyringOpensTheCameraAndMovesToTheFile)
{
    EXPECT_TRUE(CameraSecret::serviceName().contains(u"Pantiro"_s));
    EXPECT_TRUE(CameraSecret::keyName().startsWith(SettingsStore::profileFolder()));
    CameraSecret secret;
    std::optional<bool> stored;
    secret.store(kPassword, false, 0, [&](bool done, const QString&) { stored = done; });
    WAIT_UNTIL_MS(stored.has_value(), 10000);
    ASSERT_TRUE(*stored);
    ASSERT_FALSE(QFile::exists(PasswordFilePath()));

    CAppDlg& window = start();
    WAIT_UNTIL_MS(camera.picturesServed() >= 1, 10000);
    changeLogin(window, SetupDlgId::Ok, [](QDialog& login) {
        Control<QCheckBox>(login, CLoginDlg::kInFileId)->setChecked(true);
        Control<QPushButton>(login, CLoginDlg::kOkId)->click();
    });
    EXPECT_EQ(ReadPasswordFile(PasswordFilePath()).password, kPassword);
    // Without the file the keyring is asked: it holds nothing now.
    QFile::remove(PasswordFilePath());
    std::optional<CameraSecret::Found> asked;
    secret.read(0, [&](CameraSecret::Found& found) { asked = found; });
    WAIT_UNTIL_MS(asked.has_value(), 10000);
    EXPECT_FALSE(asked->read);
    EXPECT_EQ(asked->problem, QString()) << "the keyring answered, with no entry";
}

} // namespace
