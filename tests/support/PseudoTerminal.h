#pragma once

#include <QString>

#include <chrono>
#include <string>

#include <termios.h>

// A pseudo-terminal standing in for a serial line: the program opens devicePath() like a
// serial port, the test reads what arrives on the master side. The test keeps the device
// side open itself, so the line survives the program closing it.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master_ >= 0; }
    QString devicePath() const { return path_; }
    int masterFd() const { return master_; }
    // The device side the test keeps open; tcflow() on it holds and frees the line.
    int deviceFd() const { return device_; }

    // Reads from the master side until `count` bytes arrived or `timeout` passed.
    std::string read(size_t count, std::chrono::milliseconds timeout);
    // Everything that arrives until the line stays quiet for `quiet`.
    std::string drain(std::chrono::milliseconds quiet = std::chrono::milliseconds(50));

    // The device's line settings (data bits, parity, speed, flow control ...).
    termios lineSettings() const;
    bool setLineSettings(const termios& settings);

private:
    int master_ = -1;
    int device_ = -1;
    QString path_;
};
