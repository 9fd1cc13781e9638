#include "platform/TrayIcon.h"

#include <utility>

namespace {

std::optional<bool>& availabilityOverride()
{
    static std::optional<bool> available;
    return available;
}

} // namespace

TrayIcon::TrayIcon(int iconId, QObject* parent) : QObject(parent), iconId_(iconId)
{
    hostPoll_.setInterval(kHostPollMs);
    connect(&hostPoll_, &QTimer::timeout, this, &TrayIcon::checkHost);
}

bool TrayIcon::systemTrayAvailable()
{
    return availabilityOverride().value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void TrayIcon::overrideAvailability(std::optional<bool> available)
{
    availabilityOverride() = available;
}

void TrayIcon::add(const QIcon& icon, const QString& tip)
{
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            const int message = mouseMessageOf(reason);
            if (message != 0)
                emit notify(iconId_, message);
        });
    }
    icon_->setIcon(icon);
    icon_->setToolTip(tip);
    icon_->show();
    hostSeen_ = systemTrayAvailable();
    hostPoll_.start();
}

void TrayIcon::remove()
{
    hostPoll_.stop();
    if (icon_)
        icon_->hide();
}

void TrayIcon::checkHost()
{
    const bool available = systemTrayAvailable();
    if (std::exchange(hostSeen_, available) && !available)
        emit hostLost();
}

int TrayIcon::mouseMessageOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return kLeftButtonDown;
    case QSystemTrayIcon::DoubleClick:
        return kLeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
        return kRightButtonDown;
    case QSystemTrayIcon::MiddleClick:
        return kMiddleButtonDown;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}
