#include "base/PasswordFile.h"

#include "base/FileReplace.h"
#include "base/SecretText.h"
#include "base/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than any camera takes; a larger file is no password file.
constexpr ssize_t kLongestFile = 4096;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

QString PasswordFilePath()
{
    return SettingsStore::profileFolder() + u'/' + QCoreApplication::applicationName() + QStringLiteral(".password");
}

PasswordFileRead ReadPasswordFile(const QString& path)
{
    PasswordFileRead read;
    // O_NOFOLLOW: a link could lead anywhere, also to a file of another user's making.
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        read.kind = errno == ENOENT  ? PasswordFileRead::Kind::Missing
                    : errno == ELOOP ? PasswordFileRead::Kind::NotPlain
                                     : PasswordFileRead::Kind::Unreadable;
        return read;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        read.kind = PasswordFileRead::Kind::Unreadable;
        return read;
    }
    if (!S_ISREG(status.st_mode)) {
        read.kind = PasswordFileRead::Kind::NotPlain;
        return read;
    }
    read.mode = status.st_mode & 07777;
    read.owner = status.st_uid;
    if (status.st_uid != ::geteuid() || (status.st_mode & 077) != 0) {
        read.kind = PasswordFileRead::Kind::OpenToOthers;
        return read;
    }
    QByteArray bytes(kLongestFile + 1, '\0');
    const ssize_t length = ::read(file.get(), bytes.data(), static_cast<size_t>(bytes.size()));
    if (length < 0 || length > kLongestFile) {
        Wipe(bytes);
        read.kind = PasswordFileRead::Kind::Unreadable;
        return read;
    }
    qsizetype end = 0;
    while (end < length && bytes.at(end) != '\n' && bytes.at(end) != '\r')
        ++end;
    read.password = QByteArray(bytes.constData(), end);
    Wipe(bytes);
    read.kind = PasswordFileRead::Kind::Read;
    return read;
}

bool WritePasswordFile(const QString& path, const QByteArray& password)
{
    // The file is read without following links, so one written through a link would never count.
    if (QFileInfo(path).isSymLink() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QByteArray line = password + '\n';
    const bool written =
        ReplaceFile(path, line, {}, QFileDevice::ReadOwner | QFileDevice::WriteOwner) == FileReplaced::Yes;
    Wipe(line);
    return written;
}

bool RemovePasswordFile(const QString& path)
{
    return QFile::remove(path) || !QFile::exists(path);
}
