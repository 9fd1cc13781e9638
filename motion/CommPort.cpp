#include "motion/CommPort.h"

#include "motion/SerialLineCodes.h"
#include "motion/SerialLineSnapshot.h"

#include <QSerialPort>

#include <algorithm>
#include <chrono>
#include <thread>

#include <sys/file.h>

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
    std::unique_ptr<QSerialPort> port; // null for a slot taken with an empty name
    int32_t delayMs = 0;
};

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
        slot = std::make_unique<Slot>(Slot{std::move(port), delayMs});
        return index;
    }
    return -1;
}

int CommPort::Write(int slot, const char* bytes, int count)
{
    if (slot < 0 || slot >= kSlotCount || count <= 0)
        return 0;
    const Slot* taken = slots_[static_cast<size_t>(slot)].get();
    if (taken == nullptr || !taken->port)
        return 0;
    QSerialPort& port = *taken->port;
    if (taken->delayMs <= 0)
        return WriteAll(port, bytes, count) ? count : 0;
    for (int i = 0; i < count; ++i) {
        if (!WriteAll(port, bytes + i, 1))
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(taken->delayMs));
    }
    return count;
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
