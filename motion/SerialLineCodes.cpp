#include "motion/SerialLineCodes.h"

#include "motion/CommPort.h"

#include <sys/ioctl.h>

namespace {

constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;

void CopyBits(tcflag_t& to, tcflag_t from, tcflag_t mask)
{
    to = (to & ~mask) | (from & mask);
}

void SetModemLines(int fd, bool on)
{
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines);
}

} // namespace

bool ApplyLineCodes(int fd, const termios& before, int32_t parity, int32_t stopBits, int32_t handshake)
{
    termios line{};
    if (::tcgetattr(fd, &line) != 0)
        return false;
    switch (parity) {
    case CommPort::ParityEven:
        CopyBits(line.c_cflag, PARENB, kParityBits);
        break;
    case CommPort::ParityMark:
        CopyBits(line.c_cflag, PARENB | PARODD | CMSPAR, kParityBits);
        break;
    case CommPort::ParityNone:
        CopyBits(line.c_cflag, 0, kParityBits);
        break;
    case CommPort::ParityOdd:
        CopyBits(line.c_cflag, PARENB | PARODD, kParityBits);
        break;
    default:
        CopyBits(line.c_cflag, before.c_cflag, kParityBits);
        break;
    }
    CopyBits(line.c_iflag, (line.c_cflag & PARENB) ? INPCK : 0, INPCK);
    if (stopBits < CommPort::StopOne || stopBits > CommPort::StopTwo)
        CopyBits(line.c_cflag, before.c_cflag, CSTOPB);
    switch (handshake) {
    case CommPort::HandshakeLinesOn:
        // CTS flow stays as it was; software flow off; DTR and RTS simply on.
        CopyBits(line.c_cflag, before.c_cflag, CRTSCTS);
        line.c_iflag &= ~(IXON | IXOFF);
        break;
    case CommPort::HandshakeXonXoff:
        line.c_cflag &= ~CRTSCTS;
        line.c_iflag |= IXON | IXOFF;
        break;
    default:
        CopyBits(line.c_cflag, before.c_cflag, CRTSCTS);
        CopyBits(line.c_iflag, before.c_iflag, IXON | IXOFF | IXANY);
        break;
    }
    if (::tcsetattr(fd, TCSANOW, &line) != 0)
        return false;
    if (handshake == CommPort::HandshakeLinesOn || handshake == CommPort::HandshakeXonXoff)
        SetModemLines(fd, handshake == CommPort::HandshakeLinesOn);
    return true;
}
