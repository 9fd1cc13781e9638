#include "tests/support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <array>

PseudoTerminal::PseudoTerminal()
{
    std::array<char, 256> name{};
    if (::openpty(&master_, &device_, name.data(), nullptr, nullptr) != 0) {
        master_ = device_ = -1;
        return;
    }
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(device_, F_SETFD, FD_CLOEXEC);
    path_ = QString::fromLocal8Bit(name.data());
}

PseudoTerminal::~PseudoTerminal()
{
    if (device_ >= 0)
        ::close(device_);
    if (master_ >= 0)
        ::close(master_);
}

std::string PseudoTerminal::read(size_t count, std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    std::string bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd wait{master_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0)
            break;
        std::array<char, 4096> chunk{};
        const ssize_t got = ::read(master_, chunk.data(), std::min(chunk.size(), count - bytes.size()));
        if (got <= 0)
            break;
        bytes.append(chunk.data(), static_cast<size_t>(got));
    }
    return bytes;
}

std::string PseudoTerminal::drain(std::chrono::milliseconds quiet)
{
    std::string bytes;
    for (;;) {
        const std::string more = read(4096, quiet);
        if (more.empty())
            return bytes;
        bytes += more;
    }
}

termios PseudoTerminal::lineSettings() const
{
    termios settings{};
    ::tcgetattr(device_, &settings);
    return settings;
}

bool PseudoTerminal::setLineSettings(const termios& settings)
{
    return ::tcsetattr(device_, TCSANOW, &settings) == 0;
}
