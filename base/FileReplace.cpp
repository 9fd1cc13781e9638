#include "base/FileReplace.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Written, on the disk and readable as written: a full disk shows here, at the latest when the
// file system allocates the blocks it put off.
bool WriteAndReadBack(QFileDevice& file, const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return false;
#endif
    return file.seek(0) && file.readAll() == bytes;
}

// The rename that replaced the file reaches the disk only with its folder.
void SyncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// QSettings rereads a file only when its size or time changed. A replacement of the same size
// within the same millisecond would go unseen, so every replacement is younger than the old file.
void MakeYoungerThan(QFileDevice& copy, const QFileInfo& old)
{
    const QDateTime oldTime = old.lastModified();
    if (old.exists() && QFileInfo(copy.fileName()).lastModified() <= oldTime)
        copy.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
}

// The file a replacement of `path` writes: through a link, the file it leads to.
QFileInfo ReplacedFile(const QString& path)
{
    const QFileInfo link(path);
    return QFileInfo(link.isSymLink() && link.exists() ? link.canonicalFilePath() : link.absoluteFilePath());
}

// A replacement's copy is the file's name, a dot and six letters or digits that QTemporaryFile
// puts in place of the X.
const QString kCopySuffix = QStringLiteral(".XXXXXX");

bool IsCopyName(const QString& name, const QString& fileName)
{
    if (name.size() != fileName.size() + kCopySuffix.size() || !name.startsWith(fileName + u'.'))
        return false;
    for (const QChar c : QStringView(name).mid(fileName.size() + 1)) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

// An operator who takes the write permission away from a file freezes it. A rename over it asks
// only the folder, and root may write anything, so the file's own mode decides: the owner's bit
// for its owner and for root, for anyone else what the system grants them.
bool FrozenByItsMode(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat file {};
    if (::stat(name.constData(), &file) != 0)
        return false;
    const uid_t user = ::geteuid();
    if (user == 0 || user == file.st_uid)
        return (file.st_mode & S_IWUSR) == 0;
    return ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0;
#else
    return QFileInfo::exists(path) && !QFileInfo(path).isWritable();
#endif
}

} // namespace

FileReplaced ReplaceFile(const QString& path, const QByteArray& bytes,
                         const std::function<bool(const QString& copy)>& check,
                         std::optional<QFileDevice::Permissions> permissions)
{
    const QFileInfo old = ReplacedFile(path);
    if (FrozenByItsMode(old.absoluteFilePath()))
        return FileReplaced::No;
    QTemporaryFile copy(old.absoluteFilePath() + kCopySuffix);
    if (!copy.open())
        return errno == EACCES || errno == EPERM || errno == EROFS ? FileReplaced::FolderRefusesNewFiles
                                                                   : FileReplaced::No;
    // Others read the file as they read the old one, unless the caller says otherwise; a new file
    // gets what a new settings or list file always had. QTemporaryFile creates the copy for its
    // owner alone, so a secret is never open to others meanwhile.
    copy.setPermissions(permissions    ? *permissions
                        : old.exists() ? old.permissions()
                                       : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                             | QFileDevice::ReadOther);
    if (!WriteAndReadBack(copy, bytes) || (check && !check(copy.fileName())))
        return FileReplaced::No;
    MakeYoungerThan(copy, old);
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(copy.fileName()).toStdString(),
                            QFile::encodeName(old.absoluteFilePath()).toStdString(), failed);
    if (failed)
        return FileReplaced::No;
    copy.setAutoRemove(false);
    SyncFolder(old.absolutePath());
    return FileReplaced::Yes;
}

void RemoveLeftOverCopies(const QString& path)
{
    const QFileInfo file = ReplacedFile(path);
    const QDir folder = file.absoluteDir();
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.isSymLink() && entry.isFile() && IsCopyName(entry.fileName(), file.fileName()))
            QFile::remove(entry.absoluteFilePath());
    }
}

bool OverwriteFile(const QString& path, const QByteArray& bytes)
{
    if (FrozenByItsMode(path))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.resize(bytes.size()) && WriteAndReadBack(file, bytes);
}
