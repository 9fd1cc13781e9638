#pragma once

#include <QString>

// One running instance per settings profile: a lock file in the profile's folder, beside the
// settings it guards, held while the process lives. The same guards the position list.
//
// The file names its holder (process ID, program, host) and the holder keeps an flock on it. A
// lock that names no live Pantiro is stale and taken over: at once when it names a process that
// has gone or is another program, after kNamingTime when it names nothing (empty or garbage),
// since a starting Pantiro names itself within that time.
class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& folder, const QString& fileName = QStringLiteral("pantiro.lock"));
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    static constexpr int kNamingTimeS = 5;

    // True when this process now holds the lock; false while another instance holds it, or when
    // the lock cannot be taken (see failure()).
    bool tryAcquire();
    // After a failed tryAcquire(): whether a running instance holds the lock.
    bool heldElsewhere() const { return heldElsewhere_; }
    // After a failed tryAcquire() that no instance caused: the system's reason
    // ("Permission denied"), and whether it was the folder that took no new file.
    QString failure() const;
    bool folderRefusesFiles() const;
    void release();
    QString filePath() const { return path_; }

private:
    enum class Found { Live, Removed, Failed };
    Found takeOverIfStale();

    QString path_;
    int fd_ = -1;
    bool heldElsewhere_ = false;
    int error_ = 0;
};
