#include "app/Autostart.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {

const QString kMenuEntryName = QStringLiteral("org.korvath.Pantiro.desktop");

QString userAutostartEntry(const QString& profile = {})
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + DesktopEntryId(profile) + QStringLiteral(".desktop");
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

// A value as desktop entries write it.
QString escaped(const QString& value)
{
    QString text = value;
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
}

// The menu entry's text for one profile: its own name, command and folder.
QByteArray profileEntry(const QByteArray& menuEntry, const QString& profile, const QString& folder)
{
    QStringList lines;
    for (const QString& line : QString::fromUtf8(menuEntry).split(u'\n')) {
        if (line.startsWith(QStringLiteral("Name=")))
            lines << line + QStringLiteral(" (%1)").arg(profile);
        else if (line.startsWith(QStringLiteral("Exec=")))
            lines << line.section(u' ', 0, 0) + QStringLiteral(" --profile ") + profile
                  << QStringLiteral("Path=") + escaped(folder);
        // Its windows' class is the profile's application name, so the desktop links them to this entry.
        else if (line.startsWith(QStringLiteral("StartupWMClass=")))
            lines << QStringLiteral("StartupWMClass=pantiro-") + profile;
        else if (!line.startsWith(QStringLiteral("Path=")))
            lines << line;
    }
    return lines.join(u'\n').toUtf8();
}

AutostartResult enableProfile(const QString& menuEntry, const QString& profile)
{
    QFile menu(menuEntry);
    if (!menu.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("cannot read %1: %2").arg(menuEntry, menu.errorString())};
    // A folder of its own, so that the head's position list is never another head's.
    const QString folder = QDir::homePath() + QStringLiteral("/Pantiro/") + profile;
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("cannot make the folder %1").arg(folder)};
    const QByteArray text = profileEntry(menu.readAll(), profile, folder);
    const auto writeEntry = [&](const std::filesystem::path& staged, std::error_code& failed) {
        QFile file(QFile::decodeName(staged.c_str()));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush())
            failed = std::make_error_code(std::errc::io_error);
    };
    const QString name = DesktopEntryId(profile) + QStringLiteral(".desktop");
    const QString ownMenuEntry = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) + u'/' + name;
    for (const QString& entry : {userAutostartEntry(profile), ownMenuEntry})
        if (const std::error_code error = replaceEntry(entry, writeEntry))
            return failure(QStringLiteral("cannot write %1").arg(entry), error);
    return {true, QStringLiteral("Pantiro starts with the profile %1 in %2 when you log in: %3 (also in the menu)")
                      .arg(profile, folder, userAutostartEntry(profile))};
}

} // namespace

QString DesktopEntryId(const QString& profile)
{
    return profile.isEmpty() ? QStringLiteral("org.korvath.Pantiro") : QStringLiteral("org.korvath.Pantiro-") + profile;
}

AutostartResult EnableAutostart(const QString& profile)
{
    // The menu entry of the installed package (or of an install into ~/.local); a link follows
    // it through updates, and the desktop skips a link whose package was removed.
    const QString menuEntry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, kMenuEntryName);
    if (menuEntry.isEmpty())
        return {
            false,
            QStringLiteral("the menu entry %1 is not installed; install Pantiro's package first").arg(kMenuEntryName)};
    if (!profile.isEmpty())
        return enableProfile(menuEntry, profile);
    const QString entry = userAutostartEntry();
    const auto linkToMenuEntry = [&](const std::filesystem::path& staged, std::error_code& failed) {
        std::filesystem::create_symlink(fileSystemPath(menuEntry), staged, failed);
    };
    if (const std::error_code error = replaceEntry(entry, linkToMenuEntry))
        return failure(QStringLiteral("cannot write %1").arg(entry), error);
    return {true, QStringLiteral("Pantiro starts when you log in: %1 links to %2").arg(entry, menuEntry)};
}

AutostartResult DisableAutostart(const QString& profile)
{
    const QString entry = userAutostartEntry(profile);
    // An administrator's entry starts the default profile only.
    const QString systemEntry = profile.isEmpty() ? systemAutostartEntry() : QString();
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
