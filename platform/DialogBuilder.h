#pragma once

#include "platform/DialogTemplate.h"

#include <QFont>

class QPixmap;
class QWidget;

// The font of every dialog: 8-point sans.
QFont DialogFont();

// Gives `window` the template's caption, font and fixed client size, and creates its controls
// in table order (so group boxes listed first lie beneath the controls they frame). Statics
// without ControlFlag::Notify pass mouse input on to the window beneath them.
void BuildDialog(QWidget& window, const DialogTemplate& dialogTemplate);

// The control with this ID (the first one, for IDs shared by several), or null.
QWidget* FindControl(const QWidget& window, int id);

template <class T> T* Control(const QWidget& window, int id)
{
    return qobject_cast<T*>(FindControl(window, id));
}

// Sets the caption or text of a control of any kind; false when there is no such control.
bool SetControlText(const QWidget& window, int id, const QString& text);
QString ControlText(const QWidget& window, int id);

// Shows an icon or bitmap resource in an Icon or Bitmap control, which takes the picture's size.
// The control remembers the resource ID in its property "pictureId".
bool SetControlPicture(const QWidget& window, int id, int pictureId, const QPixmap& picture);
