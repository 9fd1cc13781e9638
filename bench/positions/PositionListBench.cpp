// Saving and loading a list of 1000 positions through the real list control, set up as the main
// window sets it up. Each figure is the median of several runs; a save includes the sync of the
// file and its directory.
#include "bench/MedianTime.h"
#include "controls/ReportListRows.h"
#include "positions/PositionListFile.h"
#include "tests/controls/PositionListWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPositions = 1000;
constexpr int kRuns = 21;

const QStringList kFixedRows = {u"Referenzfahrt"_s, u"Nullfahrt"_s, u"Pause"_s};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());

    PositionListWindow full(kFixedRows);
    ReportListRows fullRows(*full.list);
    for (int i = 0; i < kPositions; ++i) {
        const int row = fullRows.insertRow(fullRows.rowCount(), u"Position %1 Tür Süd"_s.arg(i), kPositionRowImage);
        fullRows.setCellText(row, PositionRows::kXColumn, QString::number(i * 37 - 5000));
        fullRows.setCellText(row, PositionRows::kYColumn, QString::number(-i * 11));
    }

    bool saved = true;
    const double saveMs = MedianMs(kRuns, [&] { saved = SavePositionList(path, fullRows) && saved; });

    int loaded = 0;
    const double loadMs = MedianMs(kRuns, [&] {
        PositionListWindow fresh(kFixedRows);
        ReportListRows rows(*fresh.list);
        loaded = LoadPositionList(path, rows);
    });
    if (!saved || loaded != kPositions) {
        std::fprintf(stderr, "list of %d positions: saved %d, loaded %d rows\n", kPositions, saved, loaded);
        return 1;
    }
    std::printf("figure: list-save-ms-1000 = %.2f ms\n", saveMs);
    std::printf("figure: list-load-ms-1000 = %.2f ms\n", loadMs);
    return 0;
}
