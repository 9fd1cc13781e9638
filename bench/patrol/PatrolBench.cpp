// How exactly the patrol finds its positions again: the real main window, offscreen, patrols three
// positions for five cycles over the camera relay of the simulator, whose head moves at its
// default speeds and latencies. Each user click is recorded at the head's true pan; a position at
// X lies X / 100 degrees from the left end stop.
#include "app/CAppDlg.h"
#include "bench/BenchHome.h"
#include "app/CPantiroApp.h"
#include "base/Settings.h"
#include "motion/CameraRequest.h"
#include "platform/DialogBuilder.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCycles = 5;
// As the New button stores them: anywhere on the 10 ms grid of the counter. (Targets on the
// 100 ms grid of the patrol's tick are its worst case: the arrival test then falls on the
// target itself, and jitter decides whether the stop comes at once or one tick later.)
constexpr int kPositionX[] = {850, 2430, 1570};
constexpr int kPositions = 3;
constexpr int kTimeoutMs = 120000;

} // namespace

int main(int argc, char** argv)
{
    const auto home = PrepareBenchHome();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Korvath"_s);
    QCoreApplication::setApplicationName(u"pantiro"_s);
    InitCameraRequests();

    HeadModel::Settings headSettings;
    headSettings.startPan = 10.0;
    HeadModel head(headSettings);
    Panorama panorama(QSize(160, 120));
    UserClicks clicks;
    Faults faults;
    CameraServer camera(head, panorama, clicks, faults);
    if (!camera.start(0)) {
        std::fprintf(stderr, "the simulated camera did not start\n");
        return 1;
    }
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(camera.port()).constData(), 1);

    SettingsStore store;
    store.write(u"Language"_s, u"0"_s);
    store.write(u"Comm"_s, u"Kein,9600"_s);
    store.write(u"CommAdr"_s, u"127.0.0.1"_s);
    store.write(u"Times"_s, u"300,0,1,2"_s);  // dwell ms, pause s, extra to zero s, reference s
    QFile list(u"pantiro.lst"_s);
    list.open(QIODevice::WriteOnly);
    for (int i = 0; i < kPositions; ++i)
        list.write(QStringLiteral("P%1\t%2\t00000\r\n").arg(i + 1).arg(kPositionX[i], 5, 10, QLatin1Char('0')).toUtf8());
    list.close();

    CPantiroApp app;
    if (!app.InitInstance())
        return 1;
    CAppDlg& window = *app.mainDialog();
    Control<QPushButton>(window, 170)->click();

    // The simulator keeps only its last clicks: collect them by number as they come.
    std::map<int, double> panByClick;
    QElapsedTimer clock;
    clock.start();
    while (static_cast<int>(panByClick.size()) < kCycles * kPositions && clock.elapsed() < kTimeoutMs) {
        QTest::qWait(50);
        for (const UserClicks::Click& click : clicks.last())
            panByClick.emplace(click.number, click.pan);
    }
    Control<QPushButton>(window, 171)->click();
    if (static_cast<int>(panByClick.size()) < kCycles * kPositions) {
        std::fprintf(stderr, "only %zu clicks in %d s\n", panByClick.size(), kTimeoutMs / 1000);
        return 1;
    }

    double worstError = 0.0;
    double lowest[kPositions];
    double highest[kPositions];
    std::fill(std::begin(lowest), std::end(lowest), 1e9);
    std::fill(std::begin(highest), std::end(highest), -1e9);
    std::printf("%-6s %-9s %-9s %-9s\n", "click", "ideal", "pan", "error");
    int index = 0;
    for (const auto& [number, pan] : panByClick) {
        const int position = index++ % kPositions;
        const double ideal = kPositionX[position] / 100.0;
        worstError = std::max(worstError, std::abs(pan - ideal));
        lowest[position] = std::min(lowest[position], pan);
        highest[position] = std::max(highest[position], pan);
        std::printf("%-6d %-9.2f %-9.2f %+.2f\n", number, ideal, pan, pan - ideal);
    }
    double worstSpread = 0.0;
    for (int i = 0; i < kPositions; ++i)
        worstSpread = std::max(worstSpread, highest[i] - lowest[i]);
    std::printf("figure: patrol-click-error-deg = %.2f deg\n", worstError);
    std::printf("figure: patrol-click-spread-deg = %.2f deg\n", worstSpread);
    std::printf("(%d cycles of %d positions in %.1f s)\n", kCycles, kPositions, clock.elapsed() / 1000.0);
    return 0;
}
