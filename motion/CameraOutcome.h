#pragma once

#include <string>

// How one camera request ended, for the operator's journal.
struct CameraOutcome {
    enum class Kind {
        NoCamera, // no camera address set: nothing was sent
        Answered, // the camera answered with `status`
        TimedOut, // no answer within the request's time limits
        Failed,   // the connection failed; `error` says how
    };
    Kind kind = Kind::NoCamera;
    long status = 0;
    std::string error;

    static CameraOutcome notPrepared() { return {Kind::Failed, 0, "the request could not be prepared"}; }
    // The camera took the command: it answered with a 2xx status.
    bool taken() const { return kind == Kind::Answered && status >= 200 && status <= 299; }
};

// "success", "HTTP status 404", "time-out", "connection error: Couldn't connect to server", ...
std::string DescribeCameraOutcome(const CameraOutcome& outcome);
