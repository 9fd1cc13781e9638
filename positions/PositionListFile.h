#pragma once

#include <QString>

class PositionRows;

// The list file "pantiro.lst": one line per position row, name TAB X TAB Y, each line ending in
// CR LF. Written as UTF-8; read as UTF-8 when the bytes are valid UTF-8, else as Windows-1252.

// The image of a position row in the list's image list.
constexpr int kPositionRowImage = 14;

// The file in the working directory recorded at start-up.
QString PositionListPath(const QString& workingDirectory);

// The largest list file that is read: far beyond any real list, and 100,000 positions fit.
constexpr qint64 kListFileMaxBytes = 16 * 1024 * 1024;

// Appends one row for every line that holds a field; cells are kept exactly as read. Returns the
// number of rows added: 0 for a missing file, -1 (nothing added) when what stands at `path` is no
// list file that can be read whole: no regular file (a device, a pipe, a folder), one larger than
// kListFileMaxBytes, or one that cannot be read.
int LoadPositionList(const QString& path, PositionRows& rows);

// Replaces the file with the position rows, or leaves the old file whole and returns false. Only
// where the folder takes no new file beside it while the file itself can be written, the file is
// written in place.
bool SavePositionList(const QString& path, const PositionRows& rows);
