#pragma once

#include "sim/LoginCheck.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <memory>

class Faults;
class HeadModel;
class Panorama;
class RequestLog;
class UserClicks;

// The camera's web server on 127.0.0.1: the picture, the relay of bytes to the head, the
// user click, and the simulator's own state and fault switches under /sim/.
class CameraServer {
public:
    CameraServer(HeadModel& head, const Panorama& panorama, UserClicks& clicks, Faults& faults,
                 RequestLog* log = nullptr);
    ~CameraServer();
    CameraServer(const CameraServer&) = delete;
    CameraServer& operator=(const CameraServer&) = delete;

    // From now on every camera request needs this login; the simulator's own /sim/ stays open.
    // Before start().
    void requireLogin(const QByteArray& user, const QByteArray& password, LoginCheck::Scheme scheme);
    // Port 0 takes a free port; port() tells which. False when the port cannot be had.
    bool start(quint16 port);
    void stop();
    quint16 port() const;
    int64_t picturesServed() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
