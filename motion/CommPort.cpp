#include "motion/CommPort.h"

#include "base/JournalEvents.h"
#include "motion/SerialLineCodes.h"
#include "motion/SerialLineSnapshot.h"

#include <QSerialPort>

#include <algorithm>
#include <chrono>
#include <thread>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

constexpr int kWriteTimeoutMs = 2000;
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

bool WriteAll(QSerialPort& port, const char* bytes, qint64 count)
{
    if (port.write(bytes, count) != count)
        return false;
    while (port.bytesToWrite() > 0) {
        if (!port.waitForBytesWritten(kWriteTimeoutMs))
            return false;
    }
    return true;
}

} // namespace

struct CommPort::Slot {
    std::unique_ptr<QSerialPort> port; // null for a slot taken with an empty name or a lost device
    int32_t delayMs = 0;
    QString path;                // as configured, a /dev/serial/by-id/... link stays a link
    SerialLineRequest request{};
    int64_t driver = -1;         // of the device first opened; a reopen takes no other
};

// A USB adapter pulled and plugged in again comes back under its configured name, behind a
// link perhaps at another device number, but of the same driver. Anything else under that
// name (another kind of port, a pseudo-terminal instead of an adapter) is not our head.
bool CommPort::Reopen(Slot& slot)
{
    if (slot.path.isEmpty() || DeviceDriver(slot.path) != slot.driver)
        return false;
    slot.port = OpenDevice(slot.path, slot.request);
    if (slot.port)
        JournalSerialPortReopened(slot.path);
    return slot.port != nullptr;
}

namespace {

// Writes every byte, pausing `delayMs` after each when it is set; returns how many got out.
int WriteBytes(QSerialPort& port, const char* bytes, int count, int32_t delayMs)
{
    if (delayMs <= 0)
        return WriteAll(port, bytes, count) ? count : 0;
    for (int i = 0; i < count; ++i) {
        if (!WriteAll(port, bytes + i, 1))
            return i;
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    }
    return count;
}

} // namespace

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
        slot = std::make_unique<Slot>(Slot{std::move(port), delayMs, path, request, DeviceDriver(path)});
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
    int sent = WriteBytes(*taken->port, bytes, count, taken->delayMs);
    if (sent == count)
        return count;
    // A pulled adapter leaves a dead handle behind: let it go and try the configured device once
    // more, so that an adapter already plugged in again gets this very command.
    const bool lineHeld = taken->port->error() == QSerialPort::TimeoutError;
    JournalSerialPortFailed(taken->path, taken->port->errorString());
    taken->port.reset();
    if (lineHeld || !Reopen(*taken))
        return 0;
    sent += WriteBytes(*taken->port, bytes + sent, count - sent, taken->delayMs);
    return sent == count ? count : 0;
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
