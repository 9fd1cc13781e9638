#pragma once

#include "base/PositionRows.h"

#include <QList>
#include <QStringList>

// Position rows without a widget, starting with the three fixed rows.
class MemoryRows : public PositionRows {
public:
    struct Row {
        QStringList cells;
        int image = 0;
        bool selected = false;
    };

    MemoryRows()
    {
        for (const char* name : {"Referenzfahrt", "Nullfahrt", "Pause"})
            rows.append({{QString::fromLatin1(name), QStringLiteral("00000"), QStringLiteral("00000")}, 5});
    }

    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString cellText(int row, int column, int maxChars) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column > 2 || maxChars <= 0)
            return {};
        return rows[row].cells[column].left(maxChars - 1);
    }
    bool isSelected(int row) const override { return rows[row].selected; }
    void setImage(int row, int image) override { rows[row].image = image; }
    int insertRow(int row, const QString& name, int image) override
    {
        row = qBound(0, row, rowCount());
        rows.insert(row, {{name, {}, {}}, image});
        return row;
    }
    void setCellText(int row, int column, const QString& text) override { rows[row].cells[column] = text; }
    void deleteRow(int row) override { rows.removeAt(row); }
    void scrollTo(int) override {}

    // The position rows' cells, name, X and Y one after the other.
    QStringList positions() const
    {
        QStringList cells;
        for (int row = kFirstPositionRow; row < rowCount(); ++row)
            cells << rows[row].cells;
        return cells;
    }

    QList<Row> rows;
};
