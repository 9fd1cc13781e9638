#include "platform/SingleInstanceLock.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray HostName()
{
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

// The kernel's name of a process: what /proc/<pid>/comm shows, empty where it cannot be read.
QByteArray ProcessName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
}

enum class Holder { None, Live, Gone };

// Whom a lock names: nobody (empty, garbage), a live process of this host that runs under the
// name it wrote, or one that has gone. Another host's process cannot be seen from here, so it
// counts as live. This process holds the flock of each lock it holds, so where flocks work, a
// lock without one that names this process is left over.
Holder NamedHolder(const QByteArray& contents, bool flockFree)
{
    const QByteArrayList lines = contents.split('\n');
    bool isNumber = false;
    const qint64 pid = lines.value(0).toLongLong(&isNumber);
    if (!isNumber || pid <= 0 || lines.size() < 3)
        return Holder::None;
    if (lines.at(2) != HostName())
        return Holder::Live;
    if (pid == ::getpid())
        return flockFree ? Holder::Gone : Holder::Live;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        return Holder::Gone;
    // The kernel keeps 15 bytes of a name; a process ID taken by another program is no holder.
    const QByteArray running = ProcessName(pid);
    const bool sameProgram = running.isEmpty() || lines.at(1).isEmpty() || running == lines.at(1).left(running.size());
    return sameProgram ? Holder::Live : Holder::Gone;
}

bool IsYoung(const struct stat& status)
{
    return std::abs(std::difftime(std::time(nullptr), status.st_mtime)) < SingleInstanceLock::kNamingTimeS;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& folder, const QString& fileName) : path_(folder + u'/' + fileName)
{}

SingleInstanceLock::~SingleInstanceLock()
{
    release();
}

bool SingleInstanceLock::tryAcquire()
{
    if (fd_ >= 0)
        return true;
    heldElsewhere_ = false;
    error_ = 0;
    const QByteArray path = QFile::encodeName(path_);
    // On the very first start the profile's folder does not exist yet; a folder that cannot be
    // made shows in the creation below.
    std::error_code ignored;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(path_).absolutePath()).toStdString(), ignored);
    // A lock taken over by another start at the same moment is looked at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // Held from here on; one who looks meanwhile finds the file young and unnamed.
            ::flock(fd, LOCK_EX);
            const QByteArray holder =
                QByteArray::number(::getpid()) + '\n' + ProcessName(::getpid()) + '\n' + HostName() + '\n';
            if (::write(fd, holder.constData(), holder.size()) == holder.size()) {
                fd_ = fd;
                return true;
            }
            error_ = errno != 0 ? errno : ENOSPC;
            ::unlink(path.constData());
            ::close(fd);
            return false;
        }
        const int createError = errno;
        if (createError != EEXIST && !QFileInfo::exists(path_)) {
            error_ = createError;
            return false;
        }
        switch (takeOverIfStale()) {
        case Found::Live:
            heldElsewhere_ = true;
            return false;
        case Found::Failed:
            return false;
        case Found::Removed:
            break;
        }
    }
    heldElsewhere_ = true;
    return false;
}

// Only the one who holds the flock of the stale file and finds it still at the path removes it,
// so of two starts that find the same stale lock only one takes it over.
SingleInstanceLock::Found SingleInstanceLock::takeOverIfStale()
{
    const QByteArray path = QFile::encodeName(path_);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        return errno == ENOENT ? Found::Removed : Found::Failed;
    }
    struct stat opened {};
    struct stat atPath {};
    Found found = Found::Live;
    char contents[512];
    ssize_t size = 0;
    bool flockFree = false;
    if (::fstat(fd, &opened) != 0) {
        error_ = errno;
        found = Found::Failed;
    } else if (!S_ISREG(opened.st_mode)) {
        error_ = S_ISDIR(opened.st_mode) ? EISDIR : EEXIST;
        found = Found::Failed;
    } else if (flockFree = ::flock(fd, LOCK_EX | LOCK_NB) == 0; !flockFree && errno == EWOULDBLOCK) {
        found = Found::Live;
    } else if ((size = ::read(fd, contents, sizeof contents)) < 0) {
        error_ = errno;
        found = Found::Failed;
    } else if (const Holder holder = NamedHolder(QByteArray(contents, size), flockFree);
               holder == Holder::Live || (holder == Holder::None && IsYoung(opened))) {
        found = Found::Live;
    } else if (::stat(path.constData(), &atPath) != 0 || !SameFile(opened, atPath)) {
        found = Found::Removed;
    } else if (::unlink(path.constData()) != 0) {
        error_ = errno;
        found = Found::Failed;
    } else {
        found = Found::Removed;
    }
    ::close(fd);
    return found;
}

QString SingleInstanceLock::failure() const
{
    return QString::fromLocal8Bit(std::strerror(error_));
}

bool SingleInstanceLock::folderRefusesFiles() const
{
    return error_ == EACCES || error_ == EPERM || error_ == EROFS;
}

void SingleInstanceLock::release()
{
    if (fd_ < 0)
        return;
    const QByteArray path = QFile::encodeName(path_);
    struct stat held {};
    struct stat atPath {};
    // A lock that someone else removed and took meanwhile is theirs.
    if (::fstat(fd_, &held) == 0 && ::stat(path.constData(), &atPath) == 0 && SameFile(held, atPath))
        ::unlink(path.constData());
    ::close(fd_);
    fd_ = -1;
}
