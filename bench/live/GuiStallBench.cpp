// The longest gap between two 100 ms ticks of the main window's thread while the camera takes
// 3 s per picture and the head, on a serial line, is patrolling (commands every few ticks).
#include "app/AppDlgTemplate.h"
#include "app/CAppDlg.h"
#include "app/CPantiroApp.h"
#include "bench/BenchHome.h"
#include "platform/DialogBuilder.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/PseudoTerminal.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr int kTickMs = 100;
constexpr int kRunMs = 20000;

} // namespace

int main(int argc, char** argv)
{
    const auto home = PrepareBenchHome();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvath"));
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    QApplication::setQuitOnLastWindowClosed(false);

    HeadModel head{HeadModel::Settings{}};
    Panorama panorama;
    UserClicks clicks;
    Faults faults(Faults::Settings{3000});
    CameraServer camera(head, panorama, clicks, faults);
    PseudoTerminal line;
    if (!camera.start(0) || !line.isOpen())
        return 1;
    setenv("PANTIRO_CAMERA_PORT", std::to_string(camera.port()).c_str(), 1);
    QFile profile(home->filePath(QStringLiteral("config/Korvath/pantiro.conf")));
    profile.open(QIODevice::WriteOnly);
    profile.write(QStringLiteral("[Settings]\nLanguage=0\nComm=\"%1,9600\"\nCommAdr=127.0.0.1\nTimes=\"1000,1,1,1\"\n")
                      .arg(line.devicePath())
                      .toUtf8());
    profile.close();

    // The head's side of the line: takes every byte, as the controller would.
    std::atomic<bool> stop{false};
    std::atomic<int> commands{0};
    std::thread headSide([&] {
        while (!stop)
            commands += static_cast<int>(line.drain(std::chrono::milliseconds(20)).size());
    });

    CPantiroApp app;
    if (!app.InitInstance())
        return 1;
    CAppDlg& window = *app.mainDialog();
    Control<QPushButton>(window, AppDlgId::Start)->click();

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        // The first tick's wait holds the window's first showing, not a stall.
        if (last > 0)
            longest = std::max(longest, now - last);
        last = now;
        if (now >= kRunMs)
            QCoreApplication::exit(0);  // quit() would ask the window to close, which asks first
    });
    tick.start(kTickMs);
    QApplication::exec();
    Control<QPushButton>(window, AppDlgId::Stop)->click();

    std::printf("camera 3 s per picture: %lld pictures in %d s; %d command bytes on the serial line\n",
                static_cast<long long>(camera.picturesServed()), kRunMs / 1000, commands.load());
    std::printf("figure: gui-stall-ms-slow-camera = %lld ms\n", static_cast<long long>(longest));
    stop = true;
    headSide.join();
    return 0;
}
