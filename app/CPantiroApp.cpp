#include "app/CPantiroApp.h"

#include "app/CAppDlg.h"
#include "app/ProcessState.h"
#include "app/core/LoadText.h"
#include "motion/CameraRequest.h"
#include "platform/core/MessageBox.h"

#include <QApplication>

namespace {

constexpr int kAlreadyRunningId = 1001;

} // namespace

CPantiroApp::CPantiroApp() : lock_(QStringLiteral("pantiro")) {}

CPantiroApp::~CPantiroApp()
{
    dialog_.reset();
    if (cameraRequestsReady_)
        CleanupCameraRequests();
}

bool CPantiroApp::InitInstance()
{
    // The settings are not loaded yet, so the refusal is in German.
    if (!lock_.tryAcquire()) {
        MessageBox(nullptr, LoadText(kAlreadyRunningId, 0), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    // HTTP takes the place of sockets; Qt decodes the pictures and needs no OLE to do it.
    cameraRequestsReady_ = InitCameraRequests();
    if (!cameraRequestsReady_) {
        MessageBox(nullptr, QStringLiteral("Socket Init Error"), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    ClearProcessState();
    dialog_ = std::make_unique<CAppDlg>(store_);
    QObject::connect(dialog_.get(), &CAppDlg::ended, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    dialog_->OnInitDialog();
    dialog_->centreOnScreen();
    dialog_->show();
    return true;
}

int CPantiroApp::Run()
{
    return QApplication::exec();
}
