#include "motion/SerialLineCodes.h"

#include "motion/CommPort.h"

#include <sys/ioctl.h>

namespace {

constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;
constexpr tcflag_t kSoftwareFlow = IXON | IXOFF | IXANY;

struct StandardSpeed {
    int32_t baudRate;
    speed_t code;
};

constexpr StandardSpeed kStandardSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

constexpr tcflag_t kDataBits[] = {CS5, CS6, CS7, CS8};

void CopyBits(tcflag_t& to, tcflag_t from, tcflag_t mask)
{
    to = (to & ~mask) | (from & mask);
}

void SetParity(termios& line, const termios& before, int32_t parity)
{
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
}

void SetHandshake(termios& line, const termios& before, int32_t handshake)
{
    switch (handshake) {
    case CommPort::HandshakeLinesOn:
        // CTS flow stays as it was; software flow off; DTR and RTS simply on.
        CopyBits(line.c_cflag, before.c_cflag, CRTSCTS);
        line.c_iflag &= ~kSoftwareFlow;
        break;
    case CommPort::HandshakeXonXoff:
        line.c_cflag &= ~CRTSCTS;
        line.c_iflag |= IXON | IXOFF;
        break;
    default:
        // The head answers nothing, so no flow control can serve it: a stray XOFF byte or an
        // undriven CTS would hold every later command in the driver. A Windows port starts
        // without either.
        line.c_cflag &= ~CRTSCTS;
        line.c_iflag &= ~kSoftwareFlow;
        break;
    }
}

void SetModemLines(int fd, bool on)
{
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines);
}

} // namespace

std::optional<termios> WantedLineSettings(const termios& current, const termios& before,
                                          const SerialLineRequest& request)
{
    if (request.dataBits < 5 || request.dataBits > 8 || request.stopBits == CommPort::StopOneAndHalf
        || request.baudRate <= 0)
        return std::nullopt;
    termios line = current;
    CopyBits(line.c_cflag, kDataBits[request.dataBits - 5], CSIZE);
    if (request.stopBits == CommPort::StopOne || request.stopBits == CommPort::StopTwo)
        CopyBits(line.c_cflag, request.stopBits == CommPort::StopTwo ? CSTOPB : 0, CSTOPB);
    else
        CopyBits(line.c_cflag, before.c_cflag, CSTOPB);
    SetParity(line, before, request.parity);
    SetHandshake(line, before, request.handshake);
    for (const StandardSpeed& speed : kStandardSpeeds) {
        if (speed.baudRate == request.baudRate) {
            ::cfsetispeed(&line, speed.code);
            ::cfsetospeed(&line, speed.code);
        }
    }
    return line;
}

bool ApplyLineCodes(int fd, const termios& before, const SerialLineRequest& request)
{
    termios current{};
    if (::tcgetattr(fd, &current) != 0)
        return false;
    const std::optional<termios> wanted = WantedLineSettings(current, before, request);
    if (!wanted || ::tcsetattr(fd, TCSANOW, &*wanted) != 0)
        return false;
    if (request.handshake == CommPort::HandshakeLinesOn || request.handshake == CommPort::HandshakeXonXoff)
        SetModemLines(fd, request.handshake == CommPort::HandshakeLinesOn);
    return true;
}
