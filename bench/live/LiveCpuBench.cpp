// The CPU the real pantiro takes over 60 s while it shows the simulator's live picture at 2 Hz
// (offscreen, camera transport, nothing else going on).
#include "bench/startup/ChildProcess.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr auto kWarmUp = std::chrono::seconds(5);
constexpr auto kMeasured = std::chrono::seconds(60);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    HeadModel head{HeadModel::Settings{}};
    Panorama panorama;  // 640 x 480
    UserClicks clicks;
    Faults faults;
    CameraServer camera(head, panorama, clicks, faults);
    QTemporaryDir home;
    if (!home.isValid() || !camera.start(0))
        return 1;

    const fs::path root = home.path().toStdString();
    fs::create_directories(root / "config/Korvath");
    fs::create_directories(root / "runtime");
    fs::create_directories(root / "work");
    fs::permissions(root / "runtime", fs::perms::owner_all);
    std::ofstream(root / "config/Korvath/pantiro.conf")
        << "[Settings]\nLanguage=0\nComm=\"Kein,9600\"\nCommAdr=127.0.0.1\n";
    const std::vector<std::string> environment{
        "HOME=" + root.string(), "XDG_CONFIG_HOME=" + (root / "config").string(),
        "XDG_RUNTIME_DIR=" + (root / "runtime").string(), "QT_QPA_PLATFORM=offscreen",
        "PANTIRO_CAMERA_PORT=" + std::to_string(camera.port())};
    ChildProcess pantiro(PANTIRO_EXE, {}, environment, (root / "work").string());

    std::this_thread::sleep_for(kWarmUp);
    const double cpuBefore = pantiro.cpuSeconds();
    const int64_t picturesBefore = camera.picturesServed();
    std::this_thread::sleep_for(kMeasured);
    const double cpu = pantiro.cpuSeconds() - cpuBefore;
    const int64_t pictures = camera.picturesServed() - picturesBefore;
    const double seconds = std::chrono::duration<double>(kMeasured).count();
    std::printf("pantiro offscreen, simulator picture 640 x 480: %.2f pictures/s, %.2f CPU s in %.0f s, %.1f MiB resident\n",
                double(pictures) / seconds, cpu, seconds, pantiro.residentMiB());
    if (!pantiro.running() || pictures == 0) {
        std::printf("pantiro did not show the live picture\n");
        return 1;
    }
    std::printf("figure: live-cpu-percent = %.2f %%\n", 100.0 * cpu / seconds);
    return 0;
}
