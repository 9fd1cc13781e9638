#pragma once

#include "base/PositionRows.h"

#include <QList>
#include <QPair>
#include <QStringList>

// The position list in memory: the three fixed rows, then one row per position given.
class MemoryPositionRows : public PositionRows {
public:
    explicit MemoryPositionRows(const QList<QStringList>& positions = {})
        : cells_(QList<QStringList>{
                     {QStringLiteral("Referenzfahrt")}, {QStringLiteral("Nullfahrt")}, {QStringLiteral("Pause")}}
                 + positions),
          selected_(cells_.size(), false), images_{10, 10, 6}
    {
        images_.resize(cells_.size(), 14);
    }

    int rowCount() const override { return static_cast<int>(cells_.size()); }
    QString cellText(int row, int column, int maxChars) const override
    {
        return cells_.value(row).value(column).left(maxChars - 1);
    }
    bool isSelected(int row) const override { return selected_.value(row); }
    void setImage(int row, int image) override { images_[row] = image, changes.append({row, image}); }
    int insertRow(int, const QString&, int) override { return -1; }
    void setCellText(int, int, const QString&) override {}
    void deleteRow(int) override {}
    void scrollTo(int row) override { scrolls.append(row); }

    void select(int row) { selected_[row] = true; }
    QList<int> images() const { return images_; }

    QList<QPair<int, int>> changes; // every image set: row, image
    QList<int> scrolls;

private:
    QList<QStringList> cells_;
    QList<bool> selected_;
    QList<int> images_;
};
