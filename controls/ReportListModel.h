#pragma once

#include "controls/CReportListCtrl.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>

class ImageList;

// The rows of a CReportListCtrl: a text and an image index per cell, and the row's record with a
// colour pair per cell. Columns and the record's colour arrays are inserted together, so every
// record has one entry per column.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // Both return the index of the new column or row (a too large index appends), or -1 for a
    // negative one. New colour entries take `textColor` and `backColor`.
    int addColumn(int index, const QString& heading, Qt::Alignment alignment, const QColor& textColor,
                  const QColor& backColor);
    int addRow(int index, const QString& text, int image, const QColor& textColor, const QColor& backColor);
    // Removes every row; returns how many there were.
    int clear();

    bool hasCell(int row, int column) const { return cell(row, column) != nullptr; }
    bool setCellText(int row, int column, const QString& text);
    QString cellText(int row, int column) const;
    bool setCellImage(int row, int column, int image);
    int cellImage(int row, int column) const;
    bool setUserData(int row, uint32_t value);
    // Null for a row that does not exist; valid until the rows change.
    const ReportRowData* rowData(int row) const;

    void setImageList(const ImageList* images);
    const ImageList* imageList() const { return images_; }

private:
    struct Cell {
        QString text;
        int image = -1;
    };
    struct Row {
        // One per column; a row inserted while there is no column still keeps its text in one cell,
        // which the first column then shows.
        QList<Cell> cells;
        ReportRowData record;
    };
    struct Column {
        QString heading;
        Qt::Alignment alignment;
    };

    const Cell* cell(int row, int column) const;
    Cell* cell(int row, int column);

    QList<Column> columns_;
    QList<Row> rows_;
    const ImageList* images_ = nullptr;
};
