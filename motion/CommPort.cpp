#include "motion/CommPort.h"

#include "base/JournalEvents.h"
#include "motion/SerialLineCodes.h"
#include "motion/SerialLineSnapshot.h"

#include <QSerialPort>

#include <QTimer>

#include <algorithm>
#include <utility>

#include <poll.h>
#include <sys/ioctl.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

constexpr qint64 kQueueSize = 16384;

// Opens the device exclusively and configures it, or returns null. Exclusive also for root,
// whom TIOCEXCL does not stop: the flock on the device is ours.
std::unique_ptr<QSerialPort> OpenDevice(const QString& path, const SerialLineRequest& request)
{
    const SerialLineSnapshot before(path);
    // Settings no line can have fail before the device is touched.
    if (!before.isValid() || !WantedLineSettings(before.settings(), before.settings(), request))
        return nullptr;

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(path);
    port->setBaudRate(request.baudRate); // speeds without a termios code need the serial layer
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->setReadBufferSize(kQueueSize);
    if (!port->open(QIODevice::ReadWrite) || ::flock(port->handle(), LOCK_EX | LOCK_NB) != 0
        || !ApplyLineCodes(port->handle(), before.settings(), request))
        return nullptr;
    port->clear();
    return port;
}

// The driver of the device a path leads to now (following links), or -1 when there is none.
int64_t DeviceDriver(const QString& path)
{
    struct stat device {};
    if (::stat(path.toLocal8Bit().constData(), &device) != 0 || !S_ISCHR(device.st_mode))
        return -1;
    return major(device.st_rdev);
}

constexpr int kHeldLineLookMs = 20;

// Whether the line takes bytes now; a line held by flow control does not, and the serial layer
// would take its refusal for a failed device.
bool LineTakesBytes(const QSerialPort& port)
{
    pollfd line{static_cast<int>(port.handle()), POLLOUT, 0};
    return ::poll(&line, 1, 0) == 1 && (line.revents & POLLOUT) != 0;
}

// Bytes the driver still holds for the line (a UART whose CTS is low).
qint64 KernelQueue(const QSerialPort& port)
{
    int queued = 0;
    return ::ioctl(static_cast<int>(port.handle()), TIOCOUTQ, &queued) == 0 ? queued : 0;
}

// What went wrong with a line, told plainly: a device that hung up (an adapter pulled) leaves
// the serial layer with a stale or vague error text.
QString LineFault(const QSerialPort& port)
{
    pollfd line{static_cast<int>(port.handle()), 0, 0};
    if (line.fd >= 0 && ::poll(&line, 1, 0) == 1 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0)
        return QStringLiteral("the device hung up (unplugged?)");
    return port.errorString();
}

} // namespace

struct CommPort::Slot {
    std::unique_ptr<QSerialPort> port; // null for a slot taken with an empty name or a lost device
    int32_t delayMs = 0;
    QString path; // as configured, a /dev/serial/by-id/... link stays a link
    SerialLineRequest request{};
    int64_t driver = -1; // of the device first opened; a reopen takes no other
    QByteArray unsent;   // bytes the line has not taken yet: it is held, or their delay runs
    QTimer pump;         // the next look at the line for them

    bool alive() const
    {
        return port && port->isOpen()
               && (port->error() == QSerialPort::NoError || port->error() == QSerialPort::TimeoutError);
    }
};

// A USB adapter pulled and plugged in again comes back under its configured name, behind a
// link perhaps at another device number, but of the same driver. Anything else under that
// name (another kind of port, a pseudo-terminal instead of an adapter) is not our head.
bool CommPort::Reopen(Slot& slot)
{
    if (slot.path.isEmpty() || DeviceDriver(slot.path) != slot.driver)
        return false;
    slot.port = OpenDevice(slot.path, slot.request);
    if (!slot.port)
        return false;
    JournalSerialPortReopened(slot.path);
    Watch(slot);
    return true;
}

// A line that fails (a pulled adapter hangs up) is let go at once, so that the serial layer
// never spins on a dead handle; the next write opens it again when it is back.
void CommPort::Watch(Slot& slot)
{
    QSerialPort* port = slot.port.get();
    QObject::connect(port, &QSerialPort::errorOccurred, port, [&slot, port](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port->isOpen())
            return;
        JournalSerialPortFailed(slot.path, LineFault(*port));
        // Not from inside the port's own notification: closed as soon as that has returned.
        QTimer::singleShot(0, port, [port] { port->close(); });
    });
}

// Hands the waiting bytes to the line as far as it takes them now: all at once, or one with a
// per-byte delay. A line held by flow control takes nothing; it is looked at again shortly.
bool CommPort::Pump(Slot& slot)
{
    bool reopened = false;
    while (!slot.unsent.isEmpty()) {
        if (!slot.alive() && !Reopen(slot))
            break;
        if (!LineTakesBytes(*slot.port)) {
            slot.pump.start(kHeldLineLookMs);
            return true;
        }
        const qsizetype count = slot.delayMs > 0 ? 1 : slot.unsent.size();
        if (slot.port->write(slot.unsent.constData(), count) == count && slot.port->flush() && slot.alive()) {
            slot.unsent.remove(0, count);
            if (slot.delayMs > 0 && !slot.unsent.isEmpty()) {
                slot.pump.start(slot.delayMs);
                return true;
            }
            continue;
        }
        // A pulled adapter leaves a dead handle behind: let it go and try the configured device
        // once more, so that an adapter already plugged in again gets these very bytes.
        slot.port.reset();
        if (std::exchange(reopened, true))
            break;
    }
    if (slot.unsent.isEmpty())
        return true;
    slot.unsent.clear();
    return false;
}

CommPort::CommPort() = default;

CommPort::~CommPort() = default;

int CommPort::Open(const QString& name, int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits,
                   int32_t handshake, int32_t delayMs)
{
    QString path = SerialDevicePath(name);
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path.prepend(QStringLiteral("/dev/"));
    const SerialLineRequest request{baudRate, dataBits, parity, stopBits, handshake};
    // A device that fails is tried again in every further free slot, as the table always did.
    for (int index = 0; index < kSlotCount; ++index) {
        std::unique_ptr<Slot>& slot = slots_[static_cast<size_t>(index)];
        if (slot)
            continue;
        std::unique_ptr<QSerialPort> port;
        if (!path.isEmpty()) {
            port = OpenDevice(path, request);
            if (!port)
                continue;
        }
        slot = std::make_unique<Slot>();
        slot->port = std::move(port);
        slot->delayMs = delayMs;
        slot->path = path;
        slot->request = request;
        slot->driver = DeviceDriver(path);
        slot->pump.setSingleShot(true);
        Slot* opened = slot.get();
        QObject::connect(&opened->pump, &QTimer::timeout, [opened] { Pump(*opened); });
        if (opened->port)
            Watch(*opened);
        return index;
    }
    return -1;
}

int CommPort::Write(int slot, const char* bytes, int count)
{
    if (slot < 0 || slot >= kSlotCount || count <= 0)
        return 0;
    Slot* taken = slots_[static_cast<size_t>(slot)].get();
    if (taken == nullptr || (!taken->port && !Reopen(*taken)))
        return 0;
    const bool idle = taken->unsent.isEmpty();
    taken->unsent.append(bytes, count);
    // Bytes already waiting keep their turn; these follow them.
    return !idle || Pump(*taken) ? count : 0;
}

qint64 CommPort::Unsent(int slot) const
{
    if (slot < 0 || slot >= kSlotCount || !slots_[static_cast<size_t>(slot)])
        return -1;
    const Slot& taken = *slots_[static_cast<size_t>(slot)];
    if (!taken.alive())
        return -1;
    return taken.unsent.size() + taken.port->bytesToWrite() + KernelQueue(*taken.port);
}

void CommPort::DropUnsent(int slot)
{
    if (slot < 0 || slot >= kSlotCount || !slots_[static_cast<size_t>(slot)])
        return;
    Slot& taken = *slots_[static_cast<size_t>(slot)];
    taken.unsent.clear();
    taken.pump.stop();
    if (taken.alive() && taken.port->bytesToWrite() + KernelQueue(*taken.port) > 0)
        taken.port->clear(QSerialPort::Output);
}

int CommPort::Close(int slot)
{
    if (slot < 0 || slot >= kSlotCount || !slots_[static_cast<size_t>(slot)])
        return 0;
    slots_[static_cast<size_t>(slot)].reset();
    return 1;
}

QString SerialDevicePath(const QString& portName)
{
    const QLatin1String prefix("COM");
    if (!portName.startsWith(prefix))
        return portName;
    const QStringView digits = QStringView(portName).mid(prefix.size());
    const bool plainNumber =
        !digits.isEmpty() && digits.front() != u'0'
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool fits = false;
    const int number = digits.toInt(&fits);
    return plainNumber && fits ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : portName;
}
