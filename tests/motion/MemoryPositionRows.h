#pragma once

#include "base/PositionRows.h"

#include <QList>
#include <QPair>
#include <QStringList>

// The position list in memory: the three fixed rows, then one row per position given.
class MemoryPositionRows : public PositionRows {
public:
    struct Row {
        QStringList cells;
        bool selected = false;
        int image = 0;
    };

    explicit MemoryPositionRows(const QList<QStringList>& positions = {})
    {
        rows_ = {{{QStringLiteral("Referenzfahrt")}, false, 10},
                 {{QStringLiteral("Nullfahrt")}, false, 10},
                 {{QStringLiteral("Pause")}, false, 6}};
        for (const QStringList& cells : positions)
            rows_.append({cells, false, 14});
    }

    int rowCount() const override { return static_cast<int>(rows_.size()); }
    QString cellText(int row, int column, int maxChars) const override
    {
        if (row < 0 || row >= rowCount())
            return {};
        return rows_[row].cells.value(column).left(maxChars - 1);
    }
    bool isSelected(int row) const override { return row >= 0 && row < rowCount() && rows_[row].selected; }
    void setImage(int row, int image) override
    {
        rows_[row].image = image;
        images.append({row, image});
    }
    int insertRow(int, const QString&, int) override { return -1; }
    void setCellText(int, int, const QString&) override {}
    void deleteRow(int) override {}
    void scrollTo(int row) override { scrolls.append(row); }

    void select(int row) { rows_[row].selected = true; }
    int imageOf(int row) const { return rows_[row].image; }

    QList<QPair<int, int>> images;  // every image change: row, image
    QList<int> scrolls;

private:
    QList<Row> rows_;
};
