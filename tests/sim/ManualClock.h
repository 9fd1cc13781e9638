#pragma once

#include "sim/HeadModel.h"

#include <chrono>

// Time that moves only when a test says so.
struct ManualClock {
    std::chrono::steady_clock::time_point now{};

    HeadModel::Clock clock()
    {
        return [this] { return now; };
    }
    void advance(int ms) { now += std::chrono::milliseconds(ms); }
};
