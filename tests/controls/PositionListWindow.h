#pragma once

#include "controls/CReportListCtrl.h"

#include <QStringList>
#include <QWidget>

// A window with a list set up as the main window sets up its position list: control 600, the
// same style and extended style, the columns Name, X and Y, and one row per name.
struct PositionListWindow {
    explicit PositionListWindow(const QStringList& names = {})
    {
        window.resize(480, 320);
        const QRect rect(QPoint(8, 8), QSize(221, 265));
        list->Create(&window, 600, &rect, 0x40A18009);
        list->SetExtendedStyle(list->GetExtendedStyle() | 0x433);
        list->InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::LVCFMT_LEFT, 100);
        list->InsertColumn(1, QStringLiteral("X"), CReportListCtrl::LVCFMT_LEFT, 50);
        list->InsertColumn(2, QStringLiteral("Y"), CReportListCtrl::LVCFMT_LEFT, 50);
        for (const QString& name : names)
            list->InsertItem(list->GetItemCount(), name, 14);
    }

    QStringList names() const
    {
        QStringList result;
        for (int row = 0; row < list->GetItemCount(); ++row)
            result << list->GetItemText(row, 0);
        return result;
    }

    QWidget window;
    CReportListCtrl* list = new CReportListCtrl(&window);
};
