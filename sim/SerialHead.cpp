#include "sim/SerialHead.h"

#include "sim/HeadModel.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

void closeDescriptor(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void setCloseOnExec(int fd)
{
    ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

SerialHead::SerialHead(HeadModel& head) : head_(head) {}

SerialHead::~SerialHead()
{
    close();
}

bool SerialHead::open(const QString& linkPath)
{
    if (master_ >= 0) {
        error_ = QStringLiteral("already open");
        return false;
    }
    if (::openpty(&master_, &follower_, nullptr, nullptr, nullptr) != 0)
        return fail(QStringLiteral("cannot make a pseudo-terminal: ") + systemError());
    setCloseOnExec(master_);
    setCloseOnExec(follower_);
    // Raw, so that the bytes arrive as written.
    termios settings{};
    if (::tcgetattr(follower_, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(follower_, TCSANOW, &settings);
    }
    char name[256] = {};
    if (::ttyname_r(follower_, name, sizeof name) != 0)
        return fail(QStringLiteral("cannot name the pseudo-terminal: ") + systemError());
    device_ = QString::fromLocal8Bit(name);
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0)
        return fail(QStringLiteral("cannot make a pipe: ") + systemError());
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    if (!linkPath.isEmpty() && !makeLink(linkPath))
        return false;
    reader_ = std::thread([this] { readBytes(); });
    return true;
}

void SerialHead::close()
{
    if (reader_.joinable()) {
        const char stop = 0;
        [[maybe_unused]] const auto written = ::write(wakeWrite_, &stop, 1);
        reader_.join();
    }
    if (!link_.isEmpty() && QFileInfo(link_).symLinkTarget() == QFileInfo(device_).absoluteFilePath())
        QFile::remove(link_);
    link_.clear();
    closeDescriptor(wakeRead_);
    closeDescriptor(wakeWrite_);
    closeDescriptor(follower_);
    closeDescriptor(master_);
}

bool SerialHead::fail(const QString& what)
{
    error_ = what;
    close();
    return false;
}

bool SerialHead::makeLink(const QString& path)
{
    const QFileInfo existing(path);
    if (existing.isSymLink())
        QFile::remove(path);
    else if (existing.exists())
        return fail(QStringLiteral("%1 exists and is no link").arg(path));
    if (::symlink(device_.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0)
        return fail(QStringLiteral("cannot link %1: %2").arg(path, systemError()));
    link_ = path;
    return true;
}

void SerialHead::readBytes()
{
    pollfd watched[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    char bytes[256];
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[1].revents != 0)
            return;
        if (watched[0].revents & (POLLERR | POLLNVAL))
            return;
        if (watched[0].revents & POLLIN) {
            const ssize_t count = ::read(master_, bytes, sizeof bytes);
            for (ssize_t i = 0; i < count; ++i)
                head_.receive(bytes[i]);
        }
    }
}
