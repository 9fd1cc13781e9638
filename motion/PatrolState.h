#pragma once

#include <cstdint>

// Where the automatic patrol stands. Used on the GUI thread only; zero at start-up.
struct PatrolState {
    int32_t inTick = 0;    // set while a tick runs, against re-entry from a nested event loop
    int32_t elapsedMs = 0; // +100 per tick; the timed steps set it to 0 when they start
    int32_t phase = 0;     // 0 reference drive, 10 drive to zero, 20 pause, 50 positions
    int32_t step = 0;
    int32_t referenceDone = 0; // 1 once the reference drive has run since the last Start
    int32_t row = 0;           // the list row being visited (3 and up)
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t lastTargetX = 0; // X of the last row loaded: how far the drive to zero must go
    int32_t goToOnly = 0;    // 1 while a go-to (one position, then stop) runs

    void clear() { *this = PatrolState{}; }
};
