#include "app/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {

const QString kMenuEntryName = QStringLiteral("org.korvath.Pantiro.desktop");

QString userAutostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + kMenuEntryName;
}

std::filesystem::path fileSystemPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

AutostartResult failure(const QString& text, const std::error_code& error)
{
    return {false, QStringLiteral("%1: %2").arg(text, QString::fromLocal8Bit(error.message().c_str()))};
}

} // namespace

AutostartResult EnableAutostart()
{
    // The menu entry of the installed package (or of an install into ~/.local); a link follows
    // it through updates, and the desktop skips a link whose package was removed.
    const QString menuEntry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, kMenuEntryName);
    if (menuEntry.isEmpty())
        return {
            false,
            QStringLiteral("the menu entry %1 is not installed; install Pantiro's package first").arg(kMenuEntryName)};
    const QString entry = userAutostartEntry();
    if (!QDir().mkpath(QFileInfo(entry).path()))
        return {false, QStringLiteral("cannot create the folder %1").arg(QFileInfo(entry).path())};

    // Made beside it and renamed over it, so that an entry the desktop wrote is replaced whole;
    // the desktop reads only names that end in ".desktop".
    const std::filesystem::path target = fileSystemPath(entry);
    std::filesystem::path staged = target;
    staged += ".new";
    std::error_code error;
    std::filesystem::remove(staged, error);
    std::filesystem::create_symlink(fileSystemPath(menuEntry), staged, error);
    if (!error)
        std::filesystem::rename(staged, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(staged, ignored);
        return failure(QStringLiteral("cannot write %1").arg(entry), error);
    }
    return {true, QStringLiteral("Pantiro starts when you log in: %1 links to %2").arg(entry, menuEntry)};
}

AutostartResult DisableAutostart()
{
    const QString entry = userAutostartEntry();
    std::error_code error;
    const bool removed = std::filesystem::remove(fileSystemPath(entry), error);
    if (error)
        return failure(QStringLiteral("cannot remove %1").arg(entry), error);
    return {true, removed ? QStringLiteral("Pantiro no longer starts when you log in (%1 removed)").arg(entry)
                          : QStringLiteral("Pantiro was not set to start when you log in")};
}
