#include "platform/SingleInstanceLock.h"

#include <QDir>
#include <QFileInfo>

SingleInstanceLock::SingleInstanceLock(const QString& folder, const QString& fileName)
    : path_(folder + u'/' + fileName), lock_(path_)
{
    // Only a lock whose process has gone is stale, however old it is.
    lock_.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire()
{
    if (lock_.isLocked())
        return true;
    // On the very first start the profile's folder does not exist yet.
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return lock_.tryLock(0);
}

void SingleInstanceLock::release()
{
    lock_.unlock();
}
