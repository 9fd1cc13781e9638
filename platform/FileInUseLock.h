#pragma once

#include "platform/SingleInstanceLock.h"

#include <QString>

#include <memory>

// One file, one running Pantiro, wherever the file lies: a lock beside it ("<file>.lock") where
// its folder takes one, and one in the user's runtime folder named after the file's canonical
// path. Every start tries both, so two starts in one folder exclude each other whether the folder
// took a lock when either started (beside it, across users and runtime folders) or not (in the
// runtime folder of the user's session).
class FileInUseLock {
public:
    explicit FileInUseLock(const QString& file);

    // True when this process now holds the file; false while another instance holds it, or when
    // no lock could be taken (failedPath() and failure() say where and why).
    bool tryAcquire();
    bool heldElsewhere() const { return heldElsewhere_; }
    QString failedPath() const { return failed_ ? failed_->filePath() : QString(); }
    QString failure() const { return failed_ ? failed_->failure() : QString(); }

    // The runtime folder's lock for `file`.
    static QString runtimeLockPath(const QString& file);

private:
    SingleInstanceLock beside_;
    std::unique_ptr<SingleInstanceLock> inRuntime_;
    const SingleInstanceLock* failed_ = nullptr;
    bool heldElsewhere_ = false;
};
