#include "positions/SelectedPosition.h"

#include "base/PositionRows.h"

int FindSelectedPosition(const PositionRows& rows)
{
    const int row = FirstSelectedRow(rows);
    return row >= PositionRows::kFirstPositionRow ? row : -1;
}
