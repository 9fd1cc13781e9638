#include "app/CAppDlg.h"
#include "app/RunPantiro.h"
#include "motion/CameraRequest.h"
#include "platform/DialogBuilder.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

// Pantiro as main runs it, whose Up arrow is pressed once the window shows and never released.
int main(int argc, char** argv)
{
    const bool cameraRequestsReady = InitCameraRequests();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvath"));
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<CAppDlg*>(widget); window && QTest::qWaitForWindowExposed(window))
                QTest::mousePress(window->windowHandle(), Qt::LeftButton, {},
                                  FindControl(*window, 201)->geometry().center());
    });
    const int result = RunPantiro(cameraRequestsReady);
    CleanupCameraRequests();
    return result;
}
