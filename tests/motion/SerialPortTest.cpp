#include "base/AppConfig.h"
#include "motion/CameraExchanges.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/DirectionControl.h"
#include "motion/MotionState.h"
#include "motion/OpenCommandPort.h"
#include "motion/SerialLineCodes.h"
#include "motion/TickThread.h"
#include "tests/motion/RecordingMotionView.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

int OpenAt(CommPort& ports, const QString& name, int32_t dataBits, int32_t parity, int32_t stopBits, int32_t handshake,
           int32_t delayMs = 0)
{
    return ports.Open(name, 9600, dataBits, parity, stopBits, handshake, delayMs);
}

int Open8N1(CommPort& ports, const QString& name, int32_t delayMs = 0)
{
    return OpenAt(ports, name, 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeAsIs, delayMs);
}

// Direction control over the command port opened on `device` at 9600 baud.
struct SteeringOver {
    explicit SteeringOver(const QString& device)
    {
        config.portName = device;
        config.baudRate = 9600;
        OpenCommandPort(config, ports, nullptr);
    }

    AppConfig config;
    CommPort ports;
    MotionState motion;
    RecordingMotionView view;
    CameraExchanges exchanges;
    DirectionControl control{motion, config, ports, exchanges, view};
};

void SetFlags(PseudoTerminal& pty, tcflag_t control, tcflag_t input)
{
    termios line = pty.lineSettings();
    line.c_cflag |= control;
    line.c_iflag |= input;
    ASSERT_TRUE(pty.setLineSettings(line));
}

} // namespace

TEST(SerialPort, ComNamesAreLinuxSerialDevices)
{
    EXPECT_EQ(SerialDevicePath(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(SerialDevicePath(QStringLiteral("COM7")), QStringLiteral("/dev/ttyS6"));
    EXPECT_EQ(SerialDevicePath(QStringLiteral("COM10")), QStringLiteral("/dev/ttyS9"));
    EXPECT_EQ(SerialDevicePath(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    for (const char* other : {"COM", "COM0", "COM01", "COM+2", "COMx", "COM1 "})
        EXPECT_EQ(SerialDevicePath(QString::fromLatin1(other)), QString::fromLatin1(other));
}

TEST(SerialPort, CommandPortSendsOneDigitAtEightNoneOneAndTheConfiguredBaud)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isOpen());
    SetFlags(pty, PARODD | CSTOPB, 0); // not 8N1 before, so the open has to set it
    AppConfig config;
    config.portName = pty.devicePath();
    config.baudRate = 38400;
    config.commands[1] = QStringLiteral("never/sent/on/the/serial/line");
    CommPort ports;
    OpenCommandPort(config, ports, nullptr);
    ASSERT_EQ(config.portSlot, 0);

    const termios line = pty.lineSettings();
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(line.c_cflag & (PARENB | PARODD));
    EXPECT_FALSE(line.c_cflag & CSTOPB);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B38400));

    MotionState motion;
    RecordingMotionView view;
    CameraExchanges exchanges;
    DirectionControl control(motion, config, ports, exchanges, view);
    EXPECT_EQ(control.SendDirection(Up), 1);
    EXPECT_EQ(pty.drain(), "8");
    EXPECT_EQ(control.SendDirection(Stop), 1);
    EXPECT_EQ(pty.drain(), "5");
    EXPECT_EQ(control.SendDirection(Right), 1);
    EXPECT_EQ(control.SendDirection(Down), 1);
    EXPECT_EQ(control.SendDirection(Left), 1);
    EXPECT_EQ(control.SendDirection(Left), 1);
    EXPECT_EQ(pty.drain(), "6244");
}

// A pseudo-terminal forces 8 data bits and clears PARENB on every change, so parity shows
// here only in PARODD and CMSPAR (mark is both, odd PARODD alone, even and none neither).
TEST(SerialPort, ParityAndStopBitsFollowTheirCodes)
{
    struct Case {
        int32_t parity, stopBits;
        tcflag_t parityFlags, stopFlag;
    };
    const Case cases[] = {
        {CommPort::ParityEven, CommPort::StopOne, 0, 0},
        {CommPort::ParityOdd, CommPort::StopTwo, PARODD, CSTOPB},
        {CommPort::ParityMark, CommPort::StopOne, PARODD | CMSPAR, 0},
        {CommPort::ParityNone, CommPort::StopTwo, 0, CSTOPB},
    };
    for (const Case& c : cases) {
        PseudoTerminal pty;
        SetFlags(pty, PARODD | CMSPAR, 0);
        CommPort ports;
        ASSERT_EQ(OpenAt(ports, pty.devicePath(), 8, c.parity, c.stopBits, CommPort::HandshakeAsIs), 0)
            << "parity " << c.parity;
        const termios line = pty.lineSettings();
        EXPECT_EQ(line.c_cflag & (PARODD | CMSPAR), c.parityFlags) << "parity " << c.parity;
        EXPECT_EQ(line.c_cflag & CSTOPB, c.stopFlag) << "parity " << c.parity;
    }
}

TEST(SerialPort, OtherCodesKeepTheLineAsItWasAndHandshakeZeroSwitchesFlowControlOff)
{
    PseudoTerminal pty;
    SetFlags(pty, PARODD | CMSPAR | CSTOPB | CRTSCTS, IXON | IXOFF | IXANY);
    CommPort ports;
    ASSERT_EQ(OpenAt(ports, pty.devicePath(), 8, 9, 9, CommPort::HandshakeAsIs), 0);
    const termios line = pty.lineSettings();
    EXPECT_EQ(line.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
    EXPECT_TRUE(line.c_cflag & CSTOPB);
    EXPECT_FALSE(line.c_cflag & CRTSCTS);
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF | IXANY));
}

// A pseudo-terminal keeps neither parity nor every speed, so this asks the computation itself.
TEST(SerialPort, CommandPortAsksForEightNoneOneWithoutFlowControlAtItsBaud)
{
    termios earlier{};
    earlier.c_cflag = CS7 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD;
    earlier.c_iflag = IXON | IXOFF | IXANY | INPCK;
    cfsetispeed(&earlier, B1200);
    cfsetospeed(&earlier, B1200);
    const std::optional<termios> wanted = WantedLineSettings(earlier, earlier, CommandPortLine(38400));
    ASSERT_TRUE(wanted);
    EXPECT_EQ(wanted->c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(wanted->c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(wanted->c_iflag & (IXON | IXOFF | IXANY | INPCK), 0u);
    EXPECT_TRUE(wanted->c_cflag & CREAD) << "the rest of the line stays";
    EXPECT_EQ(cfgetispeed(&*wanted), static_cast<speed_t>(B38400));
    EXPECT_EQ(cfgetospeed(&*wanted), static_cast<speed_t>(B38400));
}

TEST(SerialPort, AnXoffFromTheHeadHoldsBackNoCommand)
{
    PseudoTerminal pty;
    SetFlags(pty, CRTSCTS, IXON);
    // Opened before the command port takes the device for itself, to see what reached the line.
    const int input = ::open(pty.devicePath().toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(input, 0);
    AppConfig config;
    config.portName = pty.devicePath();
    config.baudRate = 9600;
    CommPort ports;
    OpenCommandPort(config, ports, nullptr);
    ASSERT_EQ(config.portSlot, 0);

    // XOFF and a byte behind it: once that byte is readable, the line has seen the XOFF.
    ASSERT_EQ(::write(pty.masterFd(), "\x13x", 2), 2);
    int readable = 0;
    for (int wait = 0; wait < 200 && readable == 0; ++wait) {
        std::this_thread::sleep_for(5ms);
        ::ioctl(input, FIONREAD, &readable);
    }
    ::close(input);
    ASSERT_GT(readable, 0);

    MotionState motion;
    RecordingMotionView view;
    CameraExchanges exchanges;
    DirectionControl control(motion, config, ports, exchanges, view);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control.SendDirection(Up), 1);
    EXPECT_EQ(control.SendDirection(Stop), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(pty.read(2, 1000ms), "85");
}

// A line that takes nothing (a head holding it, a stalled adapter): the window goes on, the stop
// goes before the moves the line still keeps, and is out as soon as the line is free.
TEST(SerialPort, AHeldLineNeverHoldsTheWindowAndTheStopLeavesFirst)
{
    PseudoTerminal pty;
    SteeringOver line(pty.devicePath());
    ASSERT_EQ(line.config.portSlot, 0);
    DirectionControl& control = line.control;
    ASSERT_EQ(::tcflow(pty.deviceFd(), TCOOFF), 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control.SendDirection(Up), 1);
    EXPECT_EQ(control.SendDirection(Right), 1);
    EXPECT_EQ(control.SendDirection(Stop), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms);
    EXPECT_TRUE(control.StopOnItsWay());
    // Over two half-second resend steps, a 10 ms timer keeps its pace.
    QTimer pulse;
    auto last = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration longestGap{};
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const auto now = std::chrono::steady_clock::now();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });
    pulse.start(10);
    QTest::qWait(1200);
    EXPECT_LT(longestGap, 100ms);
    EXPECT_TRUE(control.StopPending());
    EXPECT_EQ(pty.drain(5ms), "") << "the line is held";

    ASSERT_EQ(::tcflow(pty.deviceFd(), TCOON), 0);
    WAIT_UNTIL(!control.StopOnItsWay());
    EXPECT_EQ(pty.drain(), "5") << "the stop went first; the moves it replaced never left";
    WAIT_UNTIL(!control.StopPending());
}

TEST(SerialPort, HandshakeCodesSwitchSoftwareAndHardwareFlow)
{
    PseudoTerminal linesOn;
    SetFlags(linesOn, CRTSCTS, IXON | IXOFF);
    CommPort ports;
    ASSERT_EQ(
        OpenAt(ports, linesOn.devicePath(), 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeLinesOn), 0);
    termios line = linesOn.lineSettings();
    EXPECT_TRUE(line.c_cflag & CRTSCTS) << "CTS flow stays as the port had it";
    EXPECT_FALSE(line.c_iflag & (IXON | IXOFF));

    PseudoTerminal xonXoff;
    SetFlags(xonXoff, CRTSCTS, 0);
    ASSERT_EQ(
        OpenAt(ports, xonXoff.devicePath(), 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeXonXoff), 1);
    line = xonXoff.lineSettings();
    EXPECT_FALSE(line.c_cflag & CRTSCTS);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
}

TEST(SerialPort, SettingsALineCannotHaveFailTheOpenAndLeaveTheDeviceFree)
{
    PseudoTerminal pty;
    CommPort ports;
    EXPECT_EQ(
        OpenAt(ports, pty.devicePath(), 8, CommPort::ParityNone, CommPort::StopOneAndHalf, CommPort::HandshakeAsIs),
        -1);
    EXPECT_EQ(OpenAt(ports, pty.devicePath(), 9, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeAsIs), -1);
    EXPECT_EQ(ports.Open(pty.devicePath(), 0, 8, CommPort::ParityNone, CommPort::StopOne, CommPort::HandshakeAsIs, 0),
              -1);
    EXPECT_EQ(Open8N1(ports, pty.devicePath()), 0);
}

TEST(SerialPort, DelayPausesAfterEveryByte)
{
    PseudoTerminal pty;
    CommPort ports;
    const int32_t delayMs = 25;
    ASSERT_EQ(Open8N1(ports, pty.devicePath(), delayMs), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ports.Write(0, "8652", 4), 4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(delayMs))
        << "the write waits for nothing";
    EXPECT_EQ(pty.drain(std::chrono::milliseconds(5)), "8") << "the first byte leaves at once";
    EXPECT_GT(ports.Unsent(0), 0);
    WAIT_UNTIL(ports.Unsent(0) == 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 3 * std::chrono::milliseconds(delayMs));
    EXPECT_EQ(pty.drain(), "652");
}

TEST(SerialPort, AnOpenDeviceCannotBeOpenedAgainInAnySlot)
{
    PseudoTerminal pty;
    CommPort ports;
    ASSERT_EQ(Open8N1(ports, pty.devicePath()), 0);
    EXPECT_EQ(Open8N1(ports, pty.devicePath()), -1);
    CommPort otherTable;
    EXPECT_EQ(Open8N1(otherTable, pty.devicePath()), -1);
    // The same device under another name (as /dev/serial/by-id/... names an adapter).
    QTemporaryDir links;
    const QString alias = links.filePath(QStringLiteral("head"));
    ASSERT_TRUE(QFile::link(pty.devicePath(), alias));
    EXPECT_EQ(Open8N1(otherTable, alias), -1);

    // The failed attempts took no slot, and the first open still works.
    EXPECT_EQ(ports.Open(QString(), 0, 8, 0, 0, 0, 0), 1);
    EXPECT_EQ(ports.Write(0, "5", 1), 1);
    EXPECT_EQ(pty.drain(), "5");

    EXPECT_EQ(ports.Close(0), 1);
    EXPECT_EQ(Open8N1(otherTable, pty.devicePath()), 0);
}

TEST(SerialPort, TenSlotsThenNone)
{
    CommPort ports;
    for (int slot = 0; slot < 9; ++slot)
        ASSERT_EQ(ports.Open(QString(), 0, 8, 0, 0, 0, 0), slot);
    PseudoTerminal last;
    EXPECT_EQ(Open8N1(ports, last.devicePath()), 9);
    PseudoTerminal spare;
    EXPECT_EQ(Open8N1(ports, spare.devicePath()), -1);
    EXPECT_EQ(ports.Open(QString(), 0, 8, 0, 0, 0, 0), -1);

    EXPECT_EQ(ports.Write(3, "8", 1), 0) << "a slot without a device writes nothing";
    EXPECT_EQ(ports.Write(9, "8", 1), 1);
    EXPECT_EQ(ports.Close(9), 1);
    EXPECT_EQ(ports.Close(9), 0);
    EXPECT_EQ(ports.Write(9, "8", 1), 0);
    for (const int outside : {-1, 10})
        EXPECT_EQ(ports.Close(outside) + ports.Write(outside, "8", 1), 0);
    EXPECT_EQ(last.drain(), "8");
}

TEST(SerialPort, MissingPortShowsItsMessageOnceAndArrowsStillMove)
{
    AppConfig config;
    config.portName = QStringLiteral("/nonexistent/ttyPantiro");
    config.baudRate = 9600;
    CommPort ports;
    ScriptedMessageBoxes::expect(QStringLiteral("Der Kommunikationsport konnte nicht geöffnet werden !"),
                                 MessageButtons::Ok, MessageIcon::Stop, MessageAnswer::Ok);
    OpenCommandPort(config, ports, nullptr);
    EXPECT_EQ(config.portSlot, -1);

    MotionState motion;
    RecordingMotionView view;
    CameraExchanges exchanges;
    DirectionControl control(motion, config, ports, exchanges, view);
    control.OnArrowButtonDown(view.centreOf(201));
    EXPECT_EQ(motion.direction, Up);
    DeadReckoningTick(motion);
    DeadReckoningTick(motion);
    EXPECT_EQ(motion.posY, 20);
    EXPECT_EQ(control.SendDirection(Up), 0);
    control.OnArrowButtonUp(view.centreOf(201));
    EXPECT_EQ(motion.direction, Stop);
    EXPECT_EQ(view.icons.last(), qMakePair(201, 179));
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);

    config.language = 1;
    ScriptedMessageBoxes::expect(QStringLiteral("Cannot open the communication port !"), MessageButtons::Ok,
                                 MessageIcon::Stop, MessageAnswer::Ok);
    OpenCommandPort(config, ports, nullptr);
}

TEST(SerialPort, ReopeningClosesTheOldPortAndCameraNamesOpenNone)
{
    PseudoTerminal first;
    PseudoTerminal second;
    AppConfig config;
    config.baudRate = 9600;
    config.portName = first.devicePath();
    CommPort ports;
    OpenCommandPort(config, ports, nullptr);
    ASSERT_EQ(config.portSlot, 0);

    config.portName = second.devicePath();
    OpenCommandPort(config, ports, nullptr);
    EXPECT_EQ(config.portSlot, 0);
    CommPort otherTable;
    EXPECT_EQ(Open8N1(otherTable, first.devicePath()), 0) << "the old port was closed";

    for (const char* camera : {"Kein", "None", ""}) {
        config.portName = QString::fromLatin1(camera);
        OpenCommandPort(config, ports, nullptr);
        EXPECT_EQ(config.portSlot, -1);
    }
    EXPECT_EQ(ports.Open(QString(), 0, 8, 0, 0, 0, 0), 0) << "no slot left taken";
}

namespace {

void PointLink(const QString& link, const QString& target)
{
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(target, link));
}

// A USB adapter as udev names it: a link that leads to whichever device it is plugged in as.
struct AdapterBehindLink {
    QTemporaryDir links;
    QString link = links.filePath(QStringLiteral("usb-Pantiro_Head-if00-port0"));
    std::unique_ptr<PseudoTerminal> device;

    AdapterBehindLink() { plugIn(); }
    void plugIn()
    {
        device = std::make_unique<PseudoTerminal>();
        PointLink(link, device->devicePath());
    }
    void pull() { device.reset(); }
};

} // namespace

// The adapter is pulled mid-drive and plugged in again: the link then leads to a new device (a
// new pseudo-terminal here), and no restart is needed.
TEST(SerialPort, APulledAdapterIsReopenedSilentlyUnderItsNameAndNothingElseIsWrittenTo)
{
    AdapterBehindLink adapter;
    SteeringOver line(adapter.link);
    ASSERT_EQ(line.config.portSlot, 0);
    DirectionControl& control = line.control;
    EXPECT_EQ(control.SendDirection(Up), 1);
    EXPECT_EQ(adapter.device->drain(), "8");

    adapter.pull();
    EXPECT_EQ(control.SendDirection(Stop), 0) << "pulled: nothing reaches the head, no box";
    EXPECT_EQ(control.SendDirection(Left), 0);
    adapter.plugIn();
    EXPECT_EQ(control.SendDirection(Right), 1);
    EXPECT_EQ(adapter.device->drain(), "6");

    // Pulled and plugged in again between two commands: the next one still arrives.
    adapter.pull();
    adapter.plugIn();
    EXPECT_EQ(control.SendDirection(Stop), 1);
    EXPECT_EQ(adapter.device->drain(), "5");

    // Meanwhile the name leads to a terminal of another driver: that is not our head.
    adapter.pull();
    PointLink(adapter.link, QStringLiteral("/dev/ptmx"));
    EXPECT_EQ(control.SendDirection(Down), 0);
    adapter.plugIn();
    EXPECT_EQ(control.SendDirection(Down), 1);
    EXPECT_EQ(adapter.device->drain(), "2");

    // Pulled while nothing is sent: the hang-up is noticed from the event loop and the port let
    // go at once, instead of the serial layer spinning on the dead handle.
    adapter.pull();
    WAIT_UNTIL(line.ports.Unsent(0) < 0);
    const auto cpuNow = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
               + std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    };
    const auto before = cpuNow();
    QTest::qWait(500);
    EXPECT_LT(cpuNow() - before, 100ms) << "the event loop spun on the dead handle";
    adapter.plugIn();
    EXPECT_EQ(control.SendDirection(Up), 1);
    EXPECT_EQ(adapter.device->drain(), "8");
    EXPECT_TRUE(ScriptedMessageBoxes::shown().isEmpty());
}

TEST(SerialPort, AReopenKeepsTheDeviceExclusiveAndItsLineSettings)
{
    AdapterBehindLink adapter;
    CommPort ports;
    ASSERT_EQ(OpenAt(ports, adapter.link, 8, CommPort::ParityOdd, CommPort::StopTwo, CommPort::HandshakeAsIs, 5), 0);
    adapter.pull();
    EXPECT_EQ(ports.Write(0, "8", 1), 0);

    adapter.plugIn();
    EXPECT_EQ(ports.Write(0, "84", 2), 2);
    WAIT_UNTIL(ports.Unsent(0) == 0);
    EXPECT_EQ(adapter.device->drain(), "84");
    const termios line = adapter.device->lineSettings();
    EXPECT_EQ(line.c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));
    CommPort otherTable;
    EXPECT_EQ(Open8N1(otherTable, adapter.device->devicePath()), -1);
}
