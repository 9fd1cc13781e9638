#pragma once

#include <QString>

// The rows of the position list as the list commands and the patrol see them: row 0 to 2 are
// the fixed rows of the patrol's steps, rows 3 and up one observation position each. Cells are
// text; column 0 is the name, 1 is X and 2 is Y. The main window's list control provides them.
class PositionRows {
public:
    static constexpr int kNameColumn = 0;
    static constexpr int kXColumn = 1;
    static constexpr int kYColumn = 2;
    static constexpr int kFirstPositionRow = 3;

    virtual ~PositionRows() = default;

    virtual int rowCount() const = 0;
    // The cell's text cut to maxChars - 1 characters, as a fixed buffer of maxChars would hold
    // it; empty for a row or column that does not exist.
    virtual QString cellText(int row, int column, int maxChars) const = 0;
    virtual bool isSelected(int row) const = 0;
    virtual void setImage(int row, int image) = 0;

    // Inserts a row at `row` (clamped to the end) and returns its index, or -1.
    virtual int insertRow(int row, const QString& name, int image) = 0;
    virtual void setCellText(int row, int column, const QString& text) = 0;
    // The rows below move up; no row takes over the selection.
    virtual void deleteRow(int row) = 0;
    // Brings the row into view when the list is scrolled away from it.
    virtual void scrollTo(int row) = 0;
};

// The selection rule of the list commands: the first row, from index 0 up, whose selected bit
// is set, or -1 when none is.
inline int FirstSelectedRow(const PositionRows& rows)
{
    const int count = rows.rowCount();
    for (int row = 0; row < count; ++row)
        if (rows.isSelected(row))
            return row;
    return -1;
}
