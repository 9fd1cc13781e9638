#include "controls/InfoTipDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

bool InfoTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    if (!infoTips_ || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const bool cut = sizeHint(cell, index).width() > option.rect.width();
    if (cut)
        QToolTip::showText(event->globalPos(), cell.text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    event->setAccepted(cut);
    return cut;
}
