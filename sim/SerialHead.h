#pragma once

#include <QString>

#include <thread>

class HeadModel;

// The head's serial line: a pseudo-terminal whose every byte goes to the head. The controller
// opens the device path (or the link made to it) as its serial port.
class SerialHead {
public:
    explicit SerialHead(HeadModel& head);
    ~SerialHead();
    SerialHead(const SerialHead&) = delete;
    SerialHead& operator=(const SerialHead&) = delete;

    // A link path makes a symbolic link to the device there; a stale link is replaced, any
    // other file is left alone and the open fails.
    bool open(const QString& linkPath = {});
    // Stops reading and removes the link, if it still points to this device.
    void close();

    QString devicePath() const { return device_; }
    QString linkPath() const { return link_; }
    QString errorString() const { return error_; }

private:
    bool fail(const QString& what);
    bool makeLink(const QString& path);
    void readBytes();

    HeadModel& head_;
    int master_ = -1;
    int follower_ = -1; // kept open so that the line stays up between the controller's opens
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread reader_;
    QString device_;
    QString link_;
    QString error_;
};
