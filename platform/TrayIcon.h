#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <optional>

// The program's icon in the notification area, made when it is first added (asking the desktop
// for its notification area takes a while). Clicks arrive as notify() with the mouse message
// that the click stands for.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Mouse messages, numbered as the window system numbers them.
    static constexpr int kLeftButtonDown = 0x201;
    static constexpr int kLeftButtonDoubleClick = 0x203;
    static constexpr int kRightButtonDown = 0x204;
    static constexpr int kMiddleButtonDown = 0x207;
    // The desktop tells no one when its notification area goes: while the icon is added, we ask.
    static constexpr int kHostPollMs = 500;

    TrayIcon(int iconId, QObject* parent);

    // Whether the desktop has a notification area; tests decide it with overrideAvailability().
    static bool systemTrayAvailable();
    static void overrideAvailability(std::optional<bool> available);

    void add(const QIcon& icon, const QString& tip);
    void remove();
    bool isAdded() const { return icon_ && icon_->isVisible(); }
    QString tip() const { return icon_ ? icon_->toolTip() : QString(); }
    int iconId() const { return iconId_; }

    static int mouseMessageOf(QSystemTrayIcon::ActivationReason reason);

signals:
    void notify(int iconId, int mouseMessage);
    // The notification area went away (its panel quit or crashed) while the icon was added.
    void hostLost();

private:
    void checkHost();

    int iconId_;
    QSystemTrayIcon* icon_ = nullptr;
    QTimer hostPoll_;
    bool hostSeen_ = false;
};
