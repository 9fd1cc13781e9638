#include "base/Settings.h"
#include "positions/PositionListFile.h"
#include "tests/crashsafe/SavedVersions.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

// Saves version 0 and 1 of the list file ("list") or of the settings ("settings") in turn,
// without end, in the working directory and settings home it was started with. It writes a
// line to standard output as it begins, so that the test can kill it while it saves, and after
// every save a dot, or an x for a save that failed.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    if (argc != 2)
        return 2;
    const bool list = std::strcmp(argv[1], "list") == 0;
    const MemoryRows rows[] = {PositionListVersion(0), PositionListVersion(1)};
    const AppConfig configs[] = {SettingsVersion(0), SettingsVersion(1)};
    const QString path = PositionListPath(QDir::currentPath());
    SettingsStore store;
    std::puts("saving");
    std::fflush(stdout);
    for (int version = 0;; version = 1 - version) {
        const bool saved = list ? SavePositionList(path, rows[version]) : SaveAllSettings(store, configs[version]);
        std::putchar(saved ? '.' : 'x');
        std::fflush(stdout);
    }
}
