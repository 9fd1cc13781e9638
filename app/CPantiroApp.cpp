#include "app/CPantiroApp.h"

#include "app/CAppDlg.h"
#include "app/ProcessState.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "base/TextRules.h"
#include "positions/PositionListFile.h"

#include <QApplication>
#include <QDir>

#include <algorithm>

namespace {

constexpr int kAlreadyRunningId = 1001;
constexpr int kLockFailedId = 1018;

// The profile's language where it has one already; a first start speaks German.
int32_t StoredLanguage(const SettingsStore& store)
{
    return std::max(0, Atoi(store.read(LoadString(StringId::kLanguage), QStringLiteral("0"))));
}

} // namespace

CPantiroApp::CPantiroApp() : lock_(SettingsStore::profileFolder(), ProfileStem() + QStringLiteral(".lock")) {}

CPantiroApp::~CPantiroApp() = default;

bool CPantiroApp::InitInstance()
{
    if (!lock_.tryAcquire()) {
        const int32_t language = StoredLanguage(store_);
        const QString text =
            lock_.heldElsewhere()
                ? LoadText(kAlreadyRunningId, language)
                : LoadText(kLockFailedId, language).arg(QDir::toNativeSeparators(lock_.filePath()), lock_.failure());
        MessageBox(nullptr, text, MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    store_.removeLeftOverCopies();
    journal_.emplace(SettingsStore::fileName(), PositionListPath(QDir::currentPath()));
    ClearProcessState();
    dialog_ = std::make_unique<CAppDlg>(store_);
    QObject::connect(dialog_.get(), &CAppDlg::ended, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    if (!dialog_->OnInitDialog()) {
        dialog_.reset();
        return false;
    }
    initialised_ = true;
    if (endRequested_) {
        dialog_->EndInOrder();
        return true;
    }
    dialog_->centreOnScreen();
    dialog_->show();
    return true;
}

int CPantiroApp::Run()
{
    // An end already under way finishes in the event loop: the window's ended() quits it.
    return QApplication::exec();
}

void CPantiroApp::EndInOrder()
{
    endRequested_ = true;
    // The window's end lets the event loop run until the stop is out, then quits every event
    // loop, those of an open message box or dialog too.
    if (initialised_)
        dialog_->EndInOrder();
    else
        QCoreApplication::exit(0);
}
