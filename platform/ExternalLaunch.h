#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// Mail and web links start programs outside Pantiro through LaunchExternal(). Tests replace the
// launcher, so that no test ever opens a real browser or mail program.

struct ExternalLaunch {
    QUrl url;         // opened by the desktop's own program for it when `program` is empty
    QString program;  // else started with `arguments`, without a shell
    QStringList arguments;
};

using ExternalLauncher = std::function<bool(const ExternalLaunch&)>;

// True when the program or the desktop's opener was started.
bool LaunchExternal(const ExternalLaunch& launch);

// Replaces the launcher and returns the one before; without one, launches really start.
ExternalLauncher SetExternalLauncher(ExternalLauncher launcher);
