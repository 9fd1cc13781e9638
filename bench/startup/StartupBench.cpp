// Start-up to the main window shown, and the idle process's CPU and memory with its timers
// running, beside a minimal Qt Widgets program that shows a dialog with one line of text and one
// button, and beside the same program showing the bare dialog. All run under a private Xvfb with
// fresh settings; a start ends when the window server maps the window.
#include "bench/startup/ChildProcess.h"
#include "bench/startup/WindowWatch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRuns = 7;
constexpr auto kWindowTimeout = std::chrono::seconds(30);
constexpr auto kSettle = std::chrono::seconds(2);
constexpr auto kIdleSpan = std::chrono::seconds(15);

struct Program {
    const char* name;
    std::string path;
    std::vector<std::string> arguments;
    std::string title;
};

// A private home: settings (German, camera transport, so nothing asks or opens a port), runtime
// directory (in memory, as a desktop session has it) and working directory.
std::vector<std::string> prepareHome(const fs::path& home, const fs::path& runtime, const std::string& display)
{
    fs::create_directories(home / "config/Korvath");
    fs::create_directories(home / "work");
    std::ofstream(home / "config/Korvath/pantiro.conf")
        << "[Settings]\nLanguage=0\nComm=\"Kein,9600\"\nCommAdr=127.0.0.1\n";
    return {"DISPLAY=" + display,
            "QT_QPA_PLATFORM=xcb",
            "HOME=" + home.string(),
            "XDG_CONFIG_HOME=" + (home / "config").string(),
            "XDG_RUNTIME_DIR=" + runtime.string(),
            "PANTIRO_CAMERA_PORT=9"};
}

// Starts the program and returns it once its window is mapped, with the time that took.
std::unique_ptr<ChildProcess> startAndWait(const Program& program, WindowWatch& watch,
                                           const std::vector<std::string>& environment, const fs::path& work,
                                           double& milliseconds)
{
    const Clock::time_point start = Clock::now();
    auto child = std::make_unique<ChildProcess>(program.path, program.arguments, environment, work.string());
    if (!watch.waitForWindow(program.title, kWindowTimeout)) {
        std::fprintf(stderr, "%s: no window within the time-out\n", program.name);
        return nullptr;
    }
    milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return child;
}

// A directory made for this run and removed with everything in it at the end.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(std::string pattern) : pattern_(std::move(pattern))
    {
        if (mkdtemp(pattern_.data()))
            path_ = pattern_;
    }
    ~TemporaryDirectory()
    {
        if (!path_.empty())
            fs::remove_all(path_);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const fs::path& path() const { return path_; }

private:
    std::string pattern_;
    fs::path path_;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    const TemporaryDirectory homeDirectory("/tmp/pantiro-startup-XXXXXX");
    const TemporaryDirectory runtimeDirectory("/dev/shm/pantiro-startup-XXXXXX");
    const fs::path& home = homeDirectory.path();
    const fs::path& runtime = runtimeDirectory.path();
    if (home.empty() || runtime.empty())
        return 1;

    int displayPipe[2];
    if (pipe(displayPipe) != 0)
        return 1;
    ChildProcess xvfb("/usr/bin/Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {},
                      home.string(), displayPipe[1]);
    close(displayPipe[1]);
    // Xvfb writes the display number and a newline once it listens.
    std::string number;
    char c = 0;
    while (read(displayPipe[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(displayPipe[0]);
    if (number.empty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const std::string display = ":" + number;
    WindowWatch watch(display);
    if (!watch.connected()) {
        std::fprintf(stderr, "cannot open display %s\n", display.c_str());
        return 1;
    }

    const std::vector<std::string> environment = prepareHome(home, runtime, display);
    const fs::path work = home / "work";
    const Program empty{"empty", MINIMAL_EXE, {"--empty"}, "Empty"};
    const Program minimal{"minimal", MINIMAL_EXE, {}, "Minimal"};
    const Program pantiro{"pantiro", PANTIRO_EXE, {}, "Pantiro [Mobotix]"};
    const Program* const programs[] = {&empty, &minimal, &pantiro};

    // One start of each to warm the caches, then alternating runs.
    std::vector<double> times[std::size(programs)];
    for (int run = 0; run <= kRuns; ++run) {
        int index = 0;
        for (const Program* program : programs) {
            double ms = 0;
            if (!startAndWait(*program, watch, environment, work, ms))
                return 1;
            if (run > 0)
                times[index].push_back(ms);
            ++index;
        }
    }
    std::printf("%-8s %s\n", "program", "start-up to window shown, ms (each run)");
    int index = 0;
    for (const Program* program : programs) {
        std::printf("%-8s", program->name);
        for (double ms : times[index])
            std::printf(" %7.1f", ms);
        std::printf("\n");
        ++index;
    }

    double ms = 0;
    const auto idleMinimal = startAndWait(minimal, watch, environment, work, ms);
    const auto idlePantiro = startAndWait(pantiro, watch, environment, work, ms);
    if (!idleMinimal || !idlePantiro)
        return 1;
    std::this_thread::sleep_for(kSettle);
    const double cpuBefore = idlePantiro->cpuSeconds();
    std::this_thread::sleep_for(kIdleSpan);
    const double idleCpu = (idlePantiro->cpuSeconds() - cpuBefore) / std::chrono::duration<double>(kIdleSpan).count();
    const double memoryPantiro = idlePantiro->residentMiB();
    const double memoryMinimal = idleMinimal->residentMiB();
    idlePantiro->stop();
    idleMinimal->stop();

    const double startEmpty = median(times[0]);
    const double startMinimal = median(times[1]);
    const double startPantiro = median(times[2]);
    std::printf("figure: startup-empty-ms = %.1f ms\n", startEmpty);
    std::printf("figure: startup-minimal-ms = %.1f ms\n", startMinimal);
    std::printf("figure: startup-pantiro-ms = %.1f ms\n", startPantiro);
    std::printf("figure: startup-ratio = %.2f x\n", startPantiro / startMinimal);
    std::printf("figure: startup-ratio-empty = %.2f x\n", startPantiro / startEmpty);
    std::printf("figure: idle-cpu-percent = %.2f %%\n", idleCpu * 100.0);
    std::printf("figure: memory-minimal-mb = %.1f MB\n", memoryMinimal);
    std::printf("figure: memory-pantiro-mb = %.1f MB\n", memoryPantiro);
    std::printf("figure: memory-over-minimal-mb = %.1f MB\n", memoryPantiro - memoryMinimal);

    return 0;
}
