#pragma once

#include <chrono>
#include <random>
#include <vector>

// When the soak switches which fault on and off: clean and faulty stretches of a few seconds in
// turn, each fault drawn at random, the same for the same seed.
class FaultSchedule {
public:
    using Duration = std::chrono::milliseconds;

    struct Window {
        Duration begin;
        Duration end;
        int fault; // index into the soak's list of faults
    };

    FaultSchedule(Duration total, int faultCount, unsigned seed);

    const std::vector<Window>& windows() const { return windows_; }
    // Whether [from, to] meets a fault window.
    bool touchesFault(Duration from, Duration to) const;

private:
    std::vector<Window> windows_;
};
