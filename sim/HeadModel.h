#pragma once

#include "sim/HeadProtocol.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

// The pan/tilt head: takes keypad digits and moves in real time between its end stops.
// A command takes effect after the head's latency; commands never overtake each other.
class HeadModel {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    struct Settings {
        double panSpeed = 10.0; // degrees per second
        double tiltSpeed = 5.0;
        double panEndStop = 350.0; // the right end stop; the left one is at 0
        double tiltMin = -45.0;
        double tiltMax = 45.0;
        std::chrono::milliseconds startLatency{50};
        std::chrono::milliseconds stopLatency{50};
        std::optional<double> startPan; // default: the middle of the pan range
        double startTilt = 0.0;
    };

    struct State {
        double pan = 0.0;
        double tilt = 0.0;
        HeadMotion direction = HeadMotion::Stop;   // what the head is doing now
        HeadMotion lastCommand = HeadMotion::Stop; // the last command received, maybe not yet in effect
        int64_t commands = 0;
    };

    explicit HeadModel(const Settings& settings, Clock clock = std::chrono::steady_clock::now);

    // One byte from the serial line. Returns false for a byte that is no command.
    bool receive(char byte);

    State state();

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Pending {
        TimePoint effective;
        HeadMotion direction;
    };

    void advanceTo(TimePoint now);
    void travel(TimePoint until);

    const Settings settings_;
    const Clock clock_;
    std::mutex mutex_;
    State state_;
    TimePoint updated_;
    std::deque<Pending> pending_;
};
