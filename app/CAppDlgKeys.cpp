#include "app/CAppDlg.h"

#include "app/SteeringKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

void CAppDlg::prepareKeyboard()
{
    // Outside a dialog a button takes Enter only as an auto-default one.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
    // Key events go to the control with the focus; the list would take the keypad's digits and
    // Ctrl with the arrows for itself.
    qApp->installEventFilter(this);
}

bool CAppDlg::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isActiveWindow())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int32_t direction = SteeringDirection(key->key(), key->modifiers());
    // X11 repeats a held key as releases and presses; only the real press and release count.
    if (type == QEvent::KeyPress) {
        if (direction < 0)
            return false;
        if (!key->isAutoRepeat())
            directions_.OnSteeringKeyDown(key->key(), direction);
        return true;
    }
    if (key->isAutoRepeat())
        return direction >= 0;
    return directions_.OnSteeringKeyUp(key->key()) || direction >= 0;
}
