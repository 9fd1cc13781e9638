#include "controls/ReportListModel.h"

#include "controls/ImageList.h"

#include <algorithm>

int ReportListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const
{
    const Cell* c = cell(index.row(), index.column());
    if (!c)
        return {};
    const ReportRowData& record = rows_[index.row()].record;
    switch (role) {
    case Qt::DisplayRole:
        return c->text;
    case Qt::DecorationRole:
        if (images_ && c->image >= 0 && c->image < images_->count())
            return images_->image(c->image);
        return {};
    case Qt::ForegroundRole:
        return record.aTextColor[index.column()];
    case Qt::BackgroundRole:
        return record.aBackColor[index.column()];
    case Qt::TextAlignmentRole:
        return (columns_[index.column()].alignment | Qt::AlignVCenter).toInt();
    default:
        return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[section].heading;
    if (role == Qt::TextAlignmentRole)
        return (columns_[section].alignment | Qt::AlignVCenter).toInt();
    return {};
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool ReportListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    rows_.remove(row, count);
    endRemoveRows();
    return true;
}

int ReportListModel::addColumn(int index, const QString& heading, Qt::Alignment alignment, const QColor& textColor,
                               const QColor& backColor)
{
    if (index < 0)
        return -1;
    index = std::min(index, columnCount());
    const bool firstColumn = columns_.isEmpty();
    beginInsertColumns({}, index, index);
    columns_.insert(index, Column{heading, alignment});
    for (Row& row : rows_) {
        if (!firstColumn)
            row.cells.insert(index, Cell{});
        row.record.aTextColor.insert(index, textColor);
        row.record.aBackColor.insert(index, backColor);
    }
    endInsertColumns();
    return index;
}

int ReportListModel::addRow(int index, const QString& text, int image, const QColor& textColor, const QColor& backColor)
{
    if (index < 0)
        return -1;
    index = std::min(index, rowCount());
    Row row;
    row.cells.resize(std::max(columnCount(), 1));
    row.cells[0] = Cell{text, image};
    row.record.aTextColor.fill(textColor, columnCount());
    row.record.aBackColor.fill(backColor, columnCount());
    beginInsertRows({}, index, index);
    rows_.insert(index, std::move(row));
    endInsertRows();
    return index;
}

int ReportListModel::clear()
{
    const int count = rowCount();
    beginResetModel();
    rows_.clear();
    endResetModel();
    return count;
}

bool ReportListModel::setCellText(int row, int column, const QString& text)
{
    Cell* c = cell(row, column);
    if (!c)
        return false;
    c->text = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
    return true;
}

QString ReportListModel::cellText(int row, int column) const
{
    const Cell* c = cell(row, column);
    return c ? c->text : QString();
}

bool ReportListModel::setCellImage(int row, int column, int image)
{
    Cell* c = cell(row, column);
    if (!c)
        return false;
    c->image = image;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
    return true;
}

int ReportListModel::cellImage(int row, int column) const
{
    const Cell* c = cell(row, column);
    return c ? c->image : -1;
}

bool ReportListModel::setUserData(int row, uint32_t value)
{
    if (row < 0 || row >= rowCount())
        return false;
    rows_[row].record.dwUserData = value;
    return true;
}

const ReportRowData* ReportListModel::rowData(int row) const
{
    return row >= 0 && row < rowCount() ? &rows_[row].record : nullptr;
}

void ReportListModel::setImageList(const ImageList* images)
{
    images_ = images;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DecorationRole});
}

const ReportListModel::Cell* ReportListModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= rows_[row].cells.size())
        return nullptr;
    return &rows_[row].cells[column];
}

ReportListModel::Cell* ReportListModel::cell(int row, int column)
{
    return const_cast<Cell*>(std::as_const(*this).cell(row, column));
}
