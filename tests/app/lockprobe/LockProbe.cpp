#include "base/Settings.h"
#include "platform/SingleInstanceLock.h"

#include <QCoreApplication>

// A second start as far as the lock goes, in a process of its own with the environment the test
// gives it: exits 0 when it could take the lock of the profile that environment selects, 1 when
// it was refused.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    SingleInstanceLock lock(SettingsStore::profileFolder());
    return lock.tryAcquire() ? 0 : 1;
}
