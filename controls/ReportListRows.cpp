#include "controls/ReportListRows.h"

#include "controls/CReportListCtrl.h"

ReportListRows::ReportListRows(CReportListCtrl& list) : list_(list) {}

int ReportListRows::rowCount() const
{
    return list_.GetItemCount();
}

QString ReportListRows::cellText(int row, int column, int maxChars) const
{
    return list_.GetItemText(row, column, maxChars);
}

bool ReportListRows::isSelected(int row) const
{
    return (list_.GetItemState(row, CReportListCtrl::LVIS_SELECTED) & CReportListCtrl::LVIS_SELECTED) != 0;
}

void ReportListRows::setImage(int row, int image)
{
    list_.SetItem(row, 0, CReportListCtrl::LVIF_IMAGE, {}, image, 0, 0, 0);
}

int ReportListRows::insertRow(int row, const QString& name, int image)
{
    return list_.InsertItem(row, name, image);
}

void ReportListRows::setCellText(int row, int column, const QString& text)
{
    list_.SetItemText(row, column, text);
}

void ReportListRows::deleteRow(int row)
{
    list_.DeleteItem(row, 0);
}

void ReportListRows::scrollTo(int row)
{
    if (row >= 0 && row < list_.GetItemCount())
        list_.scrollTo(list_.model()->index(row, 0));
}
