#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

// A profile, state folder, runtime and working directory of the benchmark's own, set up before
// Qt reads any of them, so that a benchmark of the real window never touches the user's files.
// Call it before the QApplication exists; the folder goes when the result does.
inline std::unique_ptr<QTemporaryDir> PrepareBenchHome()
{
    auto home = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pantiro-bench-XXXXXX"));
    for (const char* folder : {"config/Korvath", "runtime", "work"})
        QDir(home->path()).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home->filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv("XDG_CONFIG_HOME", qPrintable(home->filePath(QStringLiteral("config"))), 1);
    setenv("XDG_STATE_HOME", qPrintable(home->filePath(QStringLiteral("state"))), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home->filePath(QStringLiteral("runtime"))), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QDir::setCurrent(home->filePath(QStringLiteral("work")));
    return home;
}
