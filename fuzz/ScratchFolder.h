#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// A private folder for the files a fuzz target writes, removed at exit; memory-backed where
// there is such a file system, since saves sync their files and a disk makes that slow.
inline QString ScratchFolder()
{
    static const QTemporaryDir folder(
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/pantiro-fuzz-XXXXXX") : QString());
    return folder.path();
}
