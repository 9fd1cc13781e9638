#pragma once

#include <QString>

class PositionRows;

// The list file "pantiro.lst": one line per position row, name TAB X TAB Y, each line ending in
// CR LF. Written as UTF-8; read as UTF-8 when the bytes are valid UTF-8, else as Windows-1252.

// The image of a position row in the list's image list.
constexpr int kPositionRowImage = 14;

// The file in the working directory recorded at start-up.
QString PositionListPath(const QString& workingDirectory);

// Appends one row for every line that holds a field; cells are kept exactly as read. A file
// that is missing or cannot be read adds nothing. Returns the number of rows added.
int LoadPositionList(const QString& path, PositionRows& rows);

// Replaces the file with the position rows, or leaves the old file whole and returns false.
bool SavePositionList(const QString& path, const PositionRows& rows);
