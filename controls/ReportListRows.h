#pragma once

#include "base/PositionRows.h"

class CReportListCtrl;

// The rows of a report list control as the list commands and the patrol see them.
class ReportListRows : public PositionRows {
public:
    explicit ReportListRows(CReportListCtrl& list);

    int rowCount() const override;
    QString cellText(int row, int column, int maxChars) const override;
    bool isSelected(int row) const override;
    void setImage(int row, int image) override;
    int insertRow(int row, const QString& name, int image) override;
    void setCellText(int row, int column, const QString& text) override;
    void deleteRow(int row) override;
    void scrollTo(int row) override;

private:
    CReportListCtrl& list_;
};
