#pragma once

#include <atomic>
#include <cstdint>

// Direction and the dead-reckoned position. The tick thread reads `direction` and adds to one
// counter; everything else runs on the GUI thread.
struct MotionState {
    static constexpr int32_t kNeverShown = -999999;

    std::atomic<int32_t> direction{0};
    int32_t automaticMode = 0;    // set while a patrol or a go-to runs
    std::atomic<int32_t> posX{0}; // pan, +10 per tick while Right, -10 while Left
    std::atomic<int32_t> posY{0}; // tilt, +10 per tick while Up, -10 while Down
    int32_t shownX = 0;           // the values last written to the position displays
    int32_t shownY = 0;
    int32_t minimised = 0;
    // A direction command did not reach the head: the counters may be off until the next
    // reference drive or zeroing. `commandsLost` counts such commands, for ever.
    int32_t positionUncertain = 0;
    uint32_t commandsLost = 0;
    int32_t shownUncertain = 0;

    void clear()
    {
        direction = 0;
        automaticMode = 0;
        posX = 0;
        posY = 0;
        shownX = 0;
        shownY = 0;
        minimised = 0;
        positionUncertain = 0;
        commandsLost = 0;
        shownUncertain = 0;
    }
};
