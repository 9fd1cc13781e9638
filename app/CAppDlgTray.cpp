#include "app/CAppDlg.h"

#include "app/ProcessState.h"
#include "base/LoadText.h"
#include "base/Profile.h"

#include <QEvent>

namespace {

constexpr int kTrayTipId = 1014;

} // namespace

void CAppDlg::addTrayIcon()
{
    if (ended_)
        return;
    tray_.add(appIcon_, WithProfileName(LoadText(kTrayTipId)));
}

void CAppDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        OnActivate(isMinimized());
    // The release of a press may go to the window that took the activation.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        directions_.ReleaseHeldArrow();
    QWidget::changeEvent(event);
}

void CAppDlg::OnActivate(bool minimised)
{
    state_.motion.minimised = minimised ? 1 : 0;
    if (minimised)
        directions_.ReleaseHeldArrow();
    // Hidden, the window leaves the task bar; only a tray icon could bring it back.
    if (minimised && TrayIcon::systemTrayAvailable())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
}

int CAppDlg::OnTrayNotify(int iconId, int mouseMessage)
{
    if (iconId != kTrayIconId || mouseMessage != TrayIcon::kLeftButtonDown)
        return 0;
    bringBack();
    return 1;
}

void CAppDlg::bringBack()
{
    showNormal();
    centreOnScreen();
    raise();
    activateWindow();
}
