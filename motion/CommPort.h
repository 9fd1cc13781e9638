#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class QSerialPort;

// The table of serial port slots. Used on the GUI thread only, and it never holds it: writes
// are handed to the line and leave as the line takes them, from the event loop.
class CommPort {
public:
    static constexpr int kSlotCount = 10;

    enum ParityCode { ParityEven = 0, ParityMark = 1, ParityNone = 2, ParityOdd = 3 };
    enum StopBitsCode { StopOne = 0, StopOneAndHalf = 1, StopTwo = 2 };
    enum HandshakeCode { HandshakeAsIs = 0, HandshakeLinesOn = 1, HandshakeXonXoff = 2 };

    CommPort();
    ~CommPort();
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // Opens the port exclusively in the first free slot that succeeds and returns the slot,
    // or -1. An empty name takes a slot without a device. Settings a POSIX line cannot take
    // (one and a half stop bits, data bits outside 5 to 8, a baud rate below 1) fail the open.
    int Open(const QString& name, int32_t baudRate, int32_t dataBits, int32_t parity, int32_t stopBits,
             int32_t handshake, int32_t delayMs);

    // Hands the bytes to the line and returns their number, 0 on failure. Bytes a line held by
    // flow control does not take yet leave later, in order; with a per-byte delay the bytes
    // leave one by one. A device that failed is closed and opened again under its configured
    // name when it is back (see Reopen), silently.
    int Write(int slot, const char* bytes, int count);
    // Bytes written to the slot that have not left for the line yet; -1 when the slot's line is
    // gone (no port, a failed device).
    qint64 Unsent(int slot) const;
    // Bytes not yet on their way are dropped: a stop goes before moves a held line still keeps.
    void DropUnsent(int slot);

    // Returns 1 if a slot was closed, else 0.
    int Close(int slot);

private:
    struct Slot;
    static bool Reopen(Slot& slot);
    static void Watch(Slot& slot);
    // False when the line failed and the waiting bytes were dropped.
    static bool Pump(Slot& slot);
    std::array<std::unique_ptr<Slot>, kSlotCount> slots_;
};

// The device behind a configured port name: "COMn" is /dev/ttyS(n-1); a name that starts with
// "/" is a device path; any other name is handed to the serial layer as it is.
QString SerialDevicePath(const QString& portName);
