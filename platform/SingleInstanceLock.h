#pragma once

#include <QLockFile>
#include <QString>

// One running instance per user: a lock file in the user's runtime directory, held while the
// process lives. A lock left behind by a process that no longer runs is taken over.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);

    // True when this process now holds the lock; false while another instance holds it.
    bool tryAcquire();
    void release();
    QString filePath() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};
