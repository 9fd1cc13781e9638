#include "app/CPantiroApp.h"
#include "platform/QtMessageBoxes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The settings profile: Korvath/pantiro.conf in the user's configuration directory.
    QCoreApplication::setOrganizationName(QStringLiteral("Korvath"));
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    // The main window hides to the tray; only its confirmed exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtMessageBoxes();

    CPantiroApp app;
    if (!app.InitInstance())
        return 1;
    return app.Run();
}
