#pragma once

#include <QStyledItemDelegate>

// The list's info tips: while on, a cell too narrow for its text shows the whole text as a tool
// tip; a cell whose text fits shows none.
class InfoTipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setInfoTips(bool on) { infoTips_ = on; }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    bool infoTips_ = false;
};
