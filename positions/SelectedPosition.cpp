#include "positions/SelectedPosition.h"

#include "base/PositionRows.h"

int FindSelectedPosition(const PositionRows& rows)
{
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.isSelected(row))
            return row >= PositionRows::kFirstPositionRow ? row : -1;
    return -1;
}
