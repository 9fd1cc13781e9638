#include "app/CPantiroApp.h"

#include "app/CAppDlg.h"
#include "app/ProcessState.h"
#include "base/LoadText.h"
#include "motion/CameraRequest.h"
#include "base/MessageBox.h"

#include <QApplication>

namespace {

constexpr int kAlreadyRunningId = 1001;

} // namespace

CPantiroApp::CPantiroApp() : lock_(SettingsStore::profileFolder()) {}

CPantiroApp::~CPantiroApp()
{
    if (cameraLoader_.joinable())
        cameraLoader_.join();
    // Its end also drops the loader's answer if that has not been delivered yet.
    dialog_.reset();
    if (cameraRequestsReady_)
        CleanupCameraRequests();
}

// HTTP takes the place of sockets; Qt decodes the pictures and needs no OLE to do it. libcurl
// loads on a thread of its own while the window comes up, which it would otherwise slow by a
// fifth; the first camera request waits for it. Should it fail, the program ends.
void CPantiroApp::loadCameraRequests()
{
    cameraLoader_ = std::thread([this] {
        const bool ready = InitCameraRequests();
        QMetaObject::invokeMethod(dialog_.get(), [this, ready] {
            cameraRequestsReady_ = ready;
            if (ready)
                return;
            dialog_->hide();
            MessageBox(nullptr, QStringLiteral("Socket Init Error"), MessageButtons::Ok, MessageIcon::Information);
            QCoreApplication::exit(1);
        }, Qt::QueuedConnection);
    });
}

bool CPantiroApp::InitInstance()
{
    // The settings are not loaded yet, so the refusal is in German.
    if (!lock_.tryAcquire()) {
        MessageBox(nullptr, LoadText(kAlreadyRunningId, 0), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    ClearProcessState();
    dialog_ = std::make_unique<CAppDlg>(store_);
    QObject::connect(dialog_.get(), &CAppDlg::ended, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    dialog_->OnInitDialog();
    dialog_->centreOnScreen();
    dialog_->show();
    loadCameraRequests();
    return true;
}

int CPantiroApp::Run()
{
    return QApplication::exec();
}
