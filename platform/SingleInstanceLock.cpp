#include "platform/SingleInstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString lockPath(const QString& name)
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty())
        directory = QDir::tempPath();
    return directory + QLatin1Char('/') + name + QStringLiteral(".lock");
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name) : path_(lockPath(name)), lock_(path_)
{
    // Only a lock whose process has gone is stale, however old it is.
    lock_.setStaleLockTime(0);
}

bool SingleInstanceLock::tryAcquire()
{
    return lock_.isLocked() || lock_.tryLock(0);
}

void SingleInstanceLock::release()
{
    lock_.unlock();
}
