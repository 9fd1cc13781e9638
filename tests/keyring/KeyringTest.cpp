#include "tests/app/AppTestFixture.h"

#include "app/AppDlgTemplate.h"
#include "base/PasswordFile.h"
#include "platform/CameraSecret.h"
#include "platform/DialogBuilder.h"
#include "positions/dialogs/CLoginDlg.h"
#include "positions/dialogs/SetupDlgTemplate.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/WaitUntil.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QPushButton>

#include <qt6keychain/keychain.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kPassword = "Schl\xC3\xBCsselbund-Wache 9";

// What the keyring holds under Pantiro's entry, asked as any other program would ask it; nothing
// when it holds no entry.
std::optional<QByteArray> KeyringEntry()
{
    auto* job = new QKeychain::ReadPasswordJob(CameraSecret::serviceName());
    job->setKey(CameraSecret::keyName());
    bool done = false;
    std::optional<QByteArray> entry;
    QObject::connect(job, &QKeychain::Job::finished, [&](QKeychain::Job*) {
        done = true;
        if (job->error() == QKeychain::NoError)
            entry = job->binaryData();
    });
    job->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000)) << "the keyring did not answer";
    return entry;
}

// Opens the login dialog from the settings dialog and sets where the password is kept, leaving
// the password field empty: the password stays what it is.
void KeepThePasswordInAFile(ScriptedDialogs& dialogs, CAppDlg& window, bool inFile)
{
    dialogs.expect(u"CSetupDlg"_s, [](QDialog& settings) {
        Control<QPushButton>(settings, SetupDlgId::Login)->click();
        Control<QPushButton>(settings, SetupDlgId::Ok)->click();
    });
    dialogs.expect(u"CLoginDlg"_s, [inFile](QDialog& login) {
        Control<QCheckBox>(login, CLoginDlg::kInFileId)->setChecked(inFile);
        Control<QPushButton>(login, CLoginDlg::kOkId)->click();
    });
    Control<QPushButton>(window, AppDlgId::Settings)->click();
}

// The password in the desktop's keyring, under an entry that names Pantiro and the profile: read
// at start, it opens a camera that requires Digest. The login dialog moves it to the file and
// back, and it is only ever in one of the two places.
TEST_F(AppTest, ThePasswordInTheKeyringOpensTheCameraAndMovesToTheFileAndBack)
{
    for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
        unsetenv(proxy);
    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(160, 120)};
    UserClicks clicks;
    Faults faults;
    CameraServer camera(head, panorama, clicks, faults);
    camera.requireLogin("wache", kPassword, LoginCheck::Scheme::Digest);
    ASSERT_TRUE(camera.start(0));
    setenv("PANTIRO_CAMERA_PORT", std::to_string(camera.port()).c_str(), 1);
    writeSetting("Language", u"0"_s);
    writeSetting("CommAdr", u"127.0.0.1"_s);
    writeSetting("CameraUser", u"wache"_s);

    EXPECT_TRUE(CameraSecret::serviceName().contains(u"Pantiro"_s));
    EXPECT_TRUE(CameraSecret::keyName().startsWith(SettingsStore::profileFolder()));
    CameraSecret secret;
    std::optional<bool> stored;
    secret.store(kPassword, false, 0, [&](bool done, const QString&) { stored = done; });
    WAIT_UNTIL_MS(stored.has_value(), 10000);
    ASSERT_TRUE(*stored);
    ASSERT_EQ(KeyringEntry(), kPassword);

    CAppDlg& window = start();
    WAIT_UNTIL_MS(camera.picturesServed() >= 1, 10000);

    KeepThePasswordInAFile(dialogs, window, true);
    EXPECT_EQ(ReadPasswordFile(PasswordFilePath()).password, kPassword);
    WAIT_UNTIL_MS(!KeyringEntry().has_value(), 10000);
    KeepThePasswordInAFile(dialogs, window, false);
    WAIT_UNTIL_MS(KeyringEntry() == kPassword, 10000);
    WAIT_UNTIL(!QFile::exists(PasswordFilePath()));

    // The next start finds it there again.
    stop();
    const qint64 served = camera.picturesServed();
    start();
    WAIT_UNTIL_MS(camera.picturesServed() > served, 10000);
    unsetenv("PANTIRO_CAMERA_PORT");
}

} // namespace
