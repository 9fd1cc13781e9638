// Any bytes read as a list file become rows that save and read back as the same rows, cut only
// to the fields' widths, and a second save writes the very same file.
#include "base/TextRules.h"
#include "fuzz/ScratchFolder.h"
#include "positions/ListFileText.h"
#include "positions/PositionListFile.h"
#include "tests/positions/FileBytes.h"
#include "tests/positions/MemoryRows.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool rule)
{
    if (!rule)
        std::abort();
}

MemoryRows Loaded(const QString& path)
{
    MemoryRows rows;
    LoadPositionList(path, rows);
    return rows;
}

// A cell as the list keeps it for writing: its 99-character field.
QString Kept(const QString& cell)
{
    return CutWithoutSplitting(cell, 99);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = PositionListPath(ScratchFolder());
    require(WriteFileBytes(path, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))));
    const MemoryRows read = Loaded(path);

    require(SavePositionList(path, read));
    const QByteArray saved = FileBytes(path);
    const MemoryRows readBack = Loaded(path);
    require(readBack.rowCount() == read.rowCount());
    for (int row = PositionRows::kFirstPositionRow; row < read.rowCount(); ++row) {
        const QStringList& before = read.rows[row].cells;
        const QStringList& after = readBack.rows[row].cells;
        require(after[0] == Kept(before[0]));
        for (int column : {PositionRows::kXColumn, PositionRows::kYColumn})
            require(Atoi(after[column]) == Atoi(Kept(before[column])));
    }

    require(SavePositionList(path, readBack));
    require(FileBytes(path) == saved);
    return 0;
}
