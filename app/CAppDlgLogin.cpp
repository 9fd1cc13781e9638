#include "app/CAppDlg.h"

#include "app/ProcessState.h"
#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/PasswordFile.h"
#include "base/SecretText.h"
#include "base/Settings.h"
#include "platform/ModalDialog.h"
#include "positions/dialogs/CLoginDlg.h"

#include <QFile>
#include <QTimer>

#include <memory>
#include <utility>

namespace {

constexpr int kSettingsNotSavedId = 1015;
constexpr int kLoginRefusedId = 1019;
constexpr int kPasswordNotStoredId = 1022;
constexpr int kKeyringWaitMs = 15000;

std::string takeText(QByteArray& bytes)
{
    std::string text(bytes.constData(), static_cast<size_t>(bytes.size()));
    Wipe(bytes);
    return text;
}

} // namespace

// The password comes from the keyring or its file while the window already shows; `then` runs
// once it is there or known to be missing, or after kKeyringWaitMs: a locked keyring may wait for
// an unlock nobody gives, and an unattended patrol must not wait with it. A password that comes
// later still applies.
void CAppDlg::readCameraPassword(std::function<void()> then)
{
    if (appConfig().cameraUser.isEmpty()) {
        then();
        return;
    }
    auto pending = std::make_shared<std::function<void()>>(std::move(then));
    const auto goOn = [pending] {
        if (auto next = std::exchange(*pending, nullptr))
            next();
    };
    QTimer::singleShot(kKeyringWaitMs, this, [this, goOn, pending] {
        if (!*pending)
            return;
        JournalCameraPasswordUnread(
            QStringLiteral("the keyring did not answer within %1 s").arg(kKeyringWaitMs / 1000));
        // The user name alone meanwhile, so that the camera's refusal is told.
        std::string none;
        exchanges_.setLogin(appConfig().cameraUser.toStdString(), none);
        goOn();
    });
    secret_.read(appConfig().language, [this, goOn, pending](CameraSecret::Found& found) {
        if (!found.read)
            JournalCameraPasswordUnread(found.problem.isEmpty() ? QStringLiteral("none stored") : found.problem);
        // A file that others may read is told to the operator as well: it is theirs to mend.
        if (found.problemIsFile)
            QMetaObject::invokeMethod(
                this,
                [this, problem = found.problem] { MessageBox(this, problem, MessageButtons::Ok, MessageIcon::Stop); },
                Qt::QueuedConnection);
        std::string password = takeText(found.password);
        exchanges_.setLogin(appConfig().cameraUser.toStdString(), password);
        passwordKnown_ = found.read;
        goOn();
    });
}

void CAppDlg::OnLogin(QWidget* over)
{
    AppConfig& config = appConfig();
    LoginTexts texts{config.cameraUser, {}, QFile::exists(PasswordFilePath()), passwordKnown_};
    const bool wasInFile = texts.inFile;
    if (RunLoginDialog(texts, config.language, over) != kDialogOk) {
        Wipe(texts.password);
        return;
    }
    config.cameraUser = texts.user;
    if (!SaveCameraUser(store_, texts.user))
        MessageBox(over, LoadText(kSettingsNotSavedId), MessageButtons::Ok, MessageIcon::Stop);
    // A changed login is a new one: its refusal is told again.
    refusalJournaled_ = false;
    refusalTold_ = false;
    if (texts.user.isEmpty()) {
        Wipe(texts.password);
        std::string none;
        exchanges_.setLogin({}, none);
        secret_.remove();
        passwordKnown_ = false;
        return;
    }
    const bool typed = !texts.password.isEmpty();
    QByteArray password = texts.password.toUtf8();
    Wipe(texts.password);
    // An empty field keeps the password there is, also when it only moves to the other place.
    if (!typed)
        password = QByteArray::fromStdString(exchanges_.login().password());
    if (typed || texts.inFile != wasInFile) {
        secret_.store(password, texts.inFile, config.language, [this](bool stored, const QString& problem) {
            if (!stored)
                MessageBox(this, LoadText(kPasswordNotStoredId).arg(problem), MessageButtons::Ok, MessageIcon::Stop);
        });
    }
    passwordKnown_ = passwordKnown_ || !password.isEmpty();
    std::string applied = takeText(password);
    exchanges_.setLogin(texts.user.toStdString(), applied);
}

// Told once per login: the journal at the first refused request of any kind; the operator at
// the first refused command given by hand. A patrol runs unattended: nobody would answer a box.
void CAppDlg::OnLoginRefused(CameraExchanges::Purpose purpose)
{
    if (!std::exchange(refusalJournaled_, true))
        JournalCameraLoginRefused(appConfig().cameraUser);
    if (purpose != CameraExchanges::Purpose::Command || state_.motion.automaticMode != 0 || refusalTold_)
        return;
    refusalTold_ = true;
    QMetaObject::invokeMethod(
        this, [this] { MessageBox(this, LoadText(kLoginRefusedId), MessageButtons::Ok, MessageIcon::Stop); },
        Qt::QueuedConnection);
}
