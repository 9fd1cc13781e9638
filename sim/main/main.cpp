#include "sim/CameraServer.h"
#include "sim/CommandLine.h"
#include "sim/HeadProtocol.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/RequestLog.h"
#include "sim/SerialHead.h"
#include "sim/UserClicks.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString statusLine(const HeadModel::State& head, int clicks, int64_t pictures)
{
    return QStringLiteral("pan %1  tilt %2  %3  commands %4  clicks %5  pictures %6")
        .arg(head.pan, 6, 'f', 1)
        .arg(head.tilt, 5, 'f', 1)
        .arg(HeadMotionName(head.direction), -5)
        .arg(head.commands)
        .arg(clicks)
        .arg(pictures);
}

} // namespace

int main(int argc, char** argv)
{
    // Blocked before any thread starts, so that only the wait below takes Ctrl-C and SIGTERM.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // Fonts and JPEG need a QGuiApplication, but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("pantiro-sim"));

    CommandLine commandLine;
    if (!commandLine.parse(QGuiApplication::arguments())) {
        print(stderr, QStringLiteral("pantiro-sim: %1\nTry pantiro-sim --help.\n").arg(commandLine.errorText()));
        return 2;
    }
    if (commandLine.helpRequested()) {
        print(stdout, commandLine.helpText());
        return 0;
    }
    const SimOptions& options = commandLine.options();

    HeadModel head(options.head);
    Panorama panorama(options.pictureSize);
    UserClicks clicks(options.clickFolder);
    Faults faults(options.faults);
    RequestLog log;
    if (!options.logFile.isEmpty() && !log.open(options.logFile)) {
        print(stderr, QStringLiteral("pantiro-sim: cannot open %1: %2\n").arg(options.logFile, log.errorString()));
        return 1;
    }
    CameraServer camera(head, panorama, clicks, faults, options.logFile.isEmpty() ? nullptr : &log);
    if (!options.cameraUser.isEmpty())
        camera.requireLogin(options.cameraUser, options.cameraPassword, options.auth);
    if (!camera.start(options.httpPort)) {
        print(stderr, QStringLiteral("pantiro-sim: cannot listen on 127.0.0.1:%1\n").arg(options.httpPort));
        return 1;
    }
    SerialHead serial(head);
    if (!serial.open(options.serialLink)) {
        print(stderr, QStringLiteral("pantiro-sim: %1\n").arg(serial.errorString()));
        return 1;
    }

    const QString address = QStringLiteral("http://127.0.0.1:%1").arg(camera.port());
    print(stdout, QStringLiteral("pantiro-sim: camera %1/record/current.jpg, state %1/sim/state\n").arg(address));
    print(stdout,
          serial.linkPath().isEmpty()
              ? QStringLiteral("pantiro-sim: head on %1\n").arg(serial.devicePath())
              : QStringLiteral("pantiro-sim: head on %1, linked at %2\n").arg(serial.devicePath(), serial.linkPath()));

    const bool showStatus = !options.quiet && isatty(STDERR_FILENO);
    const timespec interval{0, 250'000'000};
    while (sigtimedwait(&stopSignals, nullptr, &interval) < 0)
        if (showStatus)
            print(stderr,
                  QStringLiteral("\r\033[K") + statusLine(head.state(), clicks.count(), camera.picturesServed()));
    if (showStatus)
        print(stderr, QStringLiteral("\r\033[K"));

    camera.stop();
    serial.close();
    print(stdout, QStringLiteral("pantiro-sim: stopped\n"));
    return 0;
}
