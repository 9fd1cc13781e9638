#pragma once

#include <QLockFile>
#include <QString>

// One running instance per settings profile: a lock file in the profile's folder, beside the
// settings it guards, held while the process lives. A lock left behind by a process that no
// longer runs is taken over. The same guards the position list, beside the list file.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& folder, const QString& fileName = QStringLiteral("pantiro.lock"));

    // True when this process now holds the lock; false while another instance holds it, or when
    // the folder takes no lock file.
    bool tryAcquire();
    // After a failed tryAcquire(): whether a running process holds the lock.
    bool heldElsewhere() const { return lock_.error() == QLockFile::LockFailedError; }
    void release();
    QString filePath() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};
