#include "platform/QtMessageBoxes.h"

#include <QMessageBox>
#include <QWidget>

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer ShowQtMessageBox(const MessageBoxRequest& request)
{
    const bool yesNo = request.buttons == MessageButtons::YesNo;
    QMessageBox box(qtIcon(request.icon), request.caption, request.text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    qobject_cast<QWidget*>(request.owner));
    // Closing a question with the title bar's close box or Escape means No.
    if (yesNo)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

void InstallQtMessageBoxes()
{
    SetMessageBoxAnswerer(ShowQtMessageBox);
}
