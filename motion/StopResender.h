#pragma once

#include "motion/CameraRequestAbort.h"

#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

struct AppConfig;
class CommPort;

// Sends a stop that the head may not have got again, every half second, until one is taken or a
// direction command ends it. Serial writes are short and stay on the GUI thread (the port lives
// there); a camera request runs on a thread of its own, so a camera that holds the connection for
// seconds never holds the window. Used on the GUI thread only.
class StopResender {
public:
    static constexpr std::chrono::milliseconds kInterval{500};

    StopResender(const AppConfig& config, CommPort& ports);
    ~StopResender();
    StopResender(const StopResender&) = delete;
    StopResender& operator=(const StopResender&) = delete;

    // The one place where a stop that was not taken becomes a stop sent again. A stop that had
    // nowhere to go (no port open, no camera address) is not repeated.
    void stopNotTaken();
    // A stop was taken or a direction was given: no stop is sent any more, and a camera request
    // still running is ended at once.
    void cancel();
    bool pending() const { return pending_; }

    // The half-second step: takes the answer to the last camera request, and sends the stop again
    // unless it was taken.
    void resend();

private:
    struct CameraAttempt;

    bool reachable() const;
    // Starts one request unless the previous one still runs; false when none could start.
    bool startCameraAttempt();
    void finished();

    const AppConfig& config_;
    CommPort& ports_;
    QTimer timer_;
    bool pending_ = false;
    std::unique_ptr<CameraAttempt> attempt_;   // the request of this run of stops
    std::unique_ptr<CameraAttempt> abandoned_; // a request that cancel() ended
};
