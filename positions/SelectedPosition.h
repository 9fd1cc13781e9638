#pragma once

class PositionRows;

// The row that Update, Remove, Edit and go-to act on: the first selected row, counted from the
// top. -1 when no row is selected or the first selected one is a fixed row, even when a
// position further down is selected as well.
int FindSelectedPosition(const PositionRows& rows);
