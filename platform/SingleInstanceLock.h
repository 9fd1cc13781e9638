#pragma once

#include <QLockFile>
#include <QString>

// One running instance per settings profile: a lock file in the profile's folder, beside the
// settings it guards, held while the process lives. A lock left behind by a process that no
// longer runs is taken over.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& profileFolder);

    // True when this process now holds the lock; false while another instance holds it.
    bool tryAcquire();
    void release();
    QString filePath() const { return path_; }

private:
    QString path_;
    QLockFile lock_;
};
