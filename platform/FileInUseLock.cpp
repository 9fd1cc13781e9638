#include "platform/FileInUseLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Links and other spellings of one path lead to one lock.
QString CanonicalPath(const QString& file)
{
    const QFileInfo info(file);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName();
}

} // namespace

FileInUseLock::FileInUseLock(const QString& file)
    : beside_(QFileInfo(file).absolutePath(), QFileInfo(file).fileName() + QStringLiteral(".lock"))
{
    const QString runtimeLock = runtimeLockPath(file);
    if (!runtimeLock.isEmpty())
        inRuntime_ = std::make_unique<SingleInstanceLock>(QFileInfo(runtimeLock).absolutePath(),
                                                          QFileInfo(runtimeLock).fileName());
}

QString FileInUseLock::runtimeLockPath(const QString& file)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    // A path may be longer than a file name can be.
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(CanonicalPath(file)), QCryptographicHash::Sha256).toHex().left(32);
    return runtime + u'/' + QFileInfo(file).fileName() + u'-' + QString::fromLatin1(digest) + QStringLiteral(".lock");
}

bool FileInUseLock::tryAcquire()
{
    heldElsewhere_ = false;
    failed_ = nullptr;
    const bool besideTaken = beside_.tryAcquire();
    if (!besideTaken && (beside_.heldElsewhere() || !beside_.folderRefusesFiles())) {
        heldElsewhere_ = beside_.heldElsewhere();
        failed_ = heldElsewhere_ ? nullptr : &beside_;
        return false;
    }
    if (!inRuntime_) {
        failed_ = besideTaken ? nullptr : &beside_;
        return besideTaken;
    }
    if (inRuntime_->tryAcquire())
        return true;
    // Where the lock beside the file stands, it alone suffices when the runtime folder fails.
    if (besideTaken && !inRuntime_->heldElsewhere())
        return true;
    beside_.release();
    heldElsewhere_ = inRuntime_->heldElsewhere();
    failed_ = heldElsewhere_ ? nullptr : inRuntime_.get();
    return false;
}
