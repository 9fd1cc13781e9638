#include "app/CPantiroApp.h"

#include "app/CAppDlg.h"
#include "app/ProcessState.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "positions/PositionListFile.h"

#include <QApplication>
#include <QDir>

namespace {

constexpr int kAlreadyRunningId = 1001;

} // namespace

CPantiroApp::CPantiroApp() : lock_(SettingsStore::profileFolder()) {}

CPantiroApp::~CPantiroApp() = default;

bool CPantiroApp::InitInstance()
{
    // The settings are not loaded yet, so the refusal is in German.
    if (!lock_.tryAcquire()) {
        MessageBox(nullptr, LoadText(kAlreadyRunningId, 0), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
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
    return endRequested_ ? 0 : QApplication::exec();
}

void CPantiroApp::EndInOrder()
{
    endRequested_ = true;
    if (initialised_)
        dialog_->EndInOrder();
    // Every event loop ends, those of an open message box or dialog too.
    QCoreApplication::exit(0);
}
