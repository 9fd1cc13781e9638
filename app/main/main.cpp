#include "app/Autostart.h"
#include "app/CommandLine.h"
#include "app/RunPantiro.h"
#include "base/Profile.h"
#include "motion/CameraRequest.h"
#include "platform/QtMessageBoxes.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QThreadPool>
#include <QTranslator>

#include <cstdlib>

int main(int argc, char** argv)
{
    // The desktop's rules ignore a folder that is not given as an absolute path; Qt would take it
    // as relative to the folder Pantiro starts in.
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
        if (const char* value = std::getenv(name); value && value[0] != '/')
            ::unsetenv(name);
    }
    // --help, --version, --autostart and --list-profiles answer on the terminal and need no display.
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv))
        return *answered;
    // HTTP takes the place of sockets; it is ready before any window, thread, settings or lock.
    const bool cameraRequestsReady = InitCameraRequests();
    QApplication application(argc, argv);
    // The settings profile: Korvath/pantiro.conf in the user's configuration directory, or
    // Korvath/pantiro-NAME.conf for the one named with --profile.
    QCoreApplication::setOrganizationName(QStringLiteral("Korvath"));
    QCoreApplication::setApplicationName(ProfileStem());
    // Links the window to its menu entry (a profile's own), also where the window manager does not
    // go by class.
    QGuiApplication::setDesktopFileName(DesktopEntryId(ProfileName()));
    // The main window hides to the tray; only its confirmed exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt spreads large fills over its thread pool; the window's drawing is small, and a program that
    // runs for days keeps its threads few: one helper thread is enough.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    // Message box buttons speak the desktop's language ("Ja", "Nein"), as the system's own boxes do.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    InstallQtMessageBoxes();
    const int result = RunPantiro(cameraRequestsReady);
    // Every thread that could make a request has ended with the main window.
    if (cameraRequestsReady)
        CleanupCameraRequests();
    return result;
}
