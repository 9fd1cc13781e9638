#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// The live picture's bytes. A fetch (on the window's event loop) stores its result in `byteCount`
// before it clears `busy`, so that whoever sees `busy` clear takes that fetch's count with its
// buffer. Of the two buffers, a fetch writes the one that is not being drawn.
struct LiveImageBuffer {
    static constexpr int32_t kSize = 500000;

    std::atomic<int32_t> busy{0};      // 1 from the start of a fetch until its result is stored
    std::atomic<int32_t> byteCount{0}; // bytes of the last completed fetch, 0 when it failed
    std::array<std::array<char, kSize>, 2> data{};

    void clear()
    {
        busy = 0;
        byteCount = 0;
    }
};
