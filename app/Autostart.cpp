#include "app/Autostart.h"

#include <QFile>
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

// Made beside the entry and renamed over it, so that an entry the desktop wrote is replaced
// whole; the desktop reads only names that end in ".desktop".
template <typename WriteStaged> std::error_code replaceEntry(const QString& entry, WriteStaged writeStaged)
{
    const std::filesystem::path target = fileSystemPath(entry);
    std::filesystem::path staged = target;
    staged += ".new";
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error)
        return error;
    std::filesystem::remove(staged, error);
    error.clear();
    writeStaged(staged, error);
    if (!error)
        std::filesystem::rename(staged, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(staged, ignored);
    }
    return error;
}

// An administrator's entry for every user (under /etc/xdg/autostart) that the user's own
// entry of the same name would hide.
QString systemAutostartEntry()
{
    const QStringList entries =
        QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation, QStringLiteral("autostart/") + kMenuEntryName);
    for (const QString& found : entries)
        if (found != userAutostartEntry())
            return found;
    return {};
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
    const auto linkToMenuEntry = [&](const std::filesystem::path& staged, std::error_code& failed) {
        std::filesystem::create_symlink(fileSystemPath(menuEntry), staged, failed);
    };
    if (const std::error_code error = replaceEntry(entry, linkToMenuEntry))
        return failure(QStringLiteral("cannot write %1").arg(entry), error);
    return {true, QStringLiteral("Pantiro starts when you log in: %1 links to %2").arg(entry, menuEntry)};
}

AutostartResult DisableAutostart()
{
    const QString entry = userAutostartEntry();
    const QString systemEntry = systemAutostartEntry();
    if (!systemEntry.isEmpty()) {
        // The desktop skips an entry for every user when the user's own entry says Hidden.
        const auto writeHidden = [](const std::filesystem::path& staged, std::error_code& failed) {
            QFile file(QFile::decodeName(staged.c_str()));
            const QByteArray text = "[Desktop Entry]\nType=Application\nName=Pantiro\nHidden=true\n";
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush())
                failed = std::make_error_code(std::errc::io_error);
        };
        if (const std::error_code error = replaceEntry(entry, writeHidden))
            return failure(QStringLiteral("cannot write %1").arg(entry), error);
        return {true, QStringLiteral("Pantiro no longer starts when you log in (%1 hides %2)").arg(entry, systemEntry)};
    }
    std::error_code error;
    const bool removed = std::filesystem::remove(fileSystemPath(entry), error);
    if (error)
        return failure(QStringLiteral("cannot remove %1").arg(entry), error);
    return {true, removed ? QStringLiteral("Pantiro no longer starts when you log in (%1 removed)").arg(entry)
                          : QStringLiteral("Pantiro was not set to start when you log in")};
}
