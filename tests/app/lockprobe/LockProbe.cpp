#include "base/Profile.h"
#include "base/Settings.h"
#include "platform/FileInUseLock.h"
#include "platform/SingleInstanceLock.h"

#include <QCoreApplication>
#include <QDir>

// A second start as far as the lock goes, in a process of its own with the environment the test
// gives it: exits 0 when it could take the lock of the profile that environment selects, 1 when
// it was refused, 2 when the position list of its working folder was. An argument names the profile.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    UseProfile(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    SingleInstanceLock profile(SettingsStore::profileFolder(), ProfileStem() + QStringLiteral(".lock"));
    FileInUseLock list(QDir::currentPath() + QStringLiteral("/pantiro.lst"));
    return !profile.tryAcquire() ? 1 : !list.tryAcquire() ? 2 : 0;
}
