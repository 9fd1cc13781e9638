#pragma once

#include <QString>

#include <termios.h>

// The line settings a serial device has before we open it: what "as the port had them" means
// for the codes of CommPort::Open. Holds the device open while it lives, so that closing it
// after the real open is not the last close (which would drop DTR on real hardware).
class SerialLineSnapshot {
public:
    explicit SerialLineSnapshot(const QString& devicePath);
    ~SerialLineSnapshot();
    SerialLineSnapshot(const SerialLineSnapshot&) = delete;
    SerialLineSnapshot& operator=(const SerialLineSnapshot&) = delete;

    // False when the device does not exist, cannot be opened or is not a terminal.
    bool isValid() const { return valid_; }
    const termios& settings() const { return settings_; }

private:
    int fd_ = -1;
    bool valid_ = false;
    termios settings_{};
};
