#include "positions/dialogs/CHLink.h"

#include <QLabel>
#include <QMouseEvent>

CHLink::CHLink()
    : normalColour_(0, 0, 255), visitedColour_(128, 0, 128), hoverColour_(255, 0, 0)
{
}

void CHLink::attach(QLabel& label, int id)
{
    label_ = &label;
    id_ = id;
    // Dialog statics let the mouse through to the dialog; a link needs it.
    label.setAttribute(Qt::WA_TransparentForMouseEvents, false);
    label.setMouseTracking(true);
    label.setCursor(Qt::PointingHandCursor);
    label.setContextMenuPolicy(Qt::PreventContextMenu);
    QFont underlined = label.font();
    underlined.setUnderline(true);
    label.setFont(underlined);
    label.installEventFilter(this);
    repaint();
}

QColor CHLink::textColour() const
{
    switch (state_) {
    case Visited:
        return visitedColour_;
    case Hover:
        return hoverColour_;
    case Normal:
        break;
    }
    return normalColour_;
}

bool CHLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != label_)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        OnMouseMove(label_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()));
        return false;
    case QEvent::Leave:
        OnMouseMove(false);
        return false;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QMetaObject::invokeMethod(this, &CHLink::OnLinkClicked, Qt::QueuedConnection);
        return true;
    default:
        return false;
    }
}

void CHLink::OnMouseMove(bool inside)
{
    if (inside && state_ != Hover) {
        stateBeforeHover_ = state_;
        state_ = Hover;
        repaint();
    } else if (!inside && state_ == Hover) {
        state_ = stateBeforeHover_;
        repaint();
    }
}

// Runs after the press has been handled. The link shows the visited colour from the next time
// the mouse leaves it.
void CHLink::OnLinkClicked()
{
    state_ = Visited;
    emit command(id_);
}

void CHLink::repaint()
{
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, textColour());
    label_->setPalette(palette);
}
