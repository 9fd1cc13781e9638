#include "base/Settings.h"
#include "platform/SingleInstanceLock.h"

#include <QCoreApplication>
#include <QDir>

// A second start as far as the locks go, in a process of its own with the environment and the
// working folder the test gives it: exits 0 when it could take the lock of the profile that
// environment selects and the lock of the position list in its working folder, 1 when the
// profile was refused, 2 when the list was.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    SingleInstanceLock profile(SettingsStore::profileFolder());
    SingleInstanceLock list(QDir::currentPath(), QStringLiteral("pantiro.lst.lock"));
    return !profile.tryAcquire() ? 1 : !list.tryAcquire() ? 2 : 0;
}
