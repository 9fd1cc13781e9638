#pragma once

#include <atomic>
#include <thread>

class ArrivalWatch;
struct MotionState;
class TickClock;

// The 10 ms dead-reckoning tick.
void DeadReckoningTick(MotionState& motion);

// Runs DeadReckoningTick every 10 ms on a thread of its own, against absolute deadlines: a late
// wake-up adds the missed ticks too, so the counters keep measuring commanded milliseconds.
class TickThread {
public:
    static constexpr int kPeriodMs = 10;

    TickThread() = default;
    ~TickThread();
    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    // Returns a non-zero timer id, or 0 if the thread could not start. The clock and the
    // arrival watch, checked after each tick, must outlive the thread.
    int start(MotionState& motion, ArrivalWatch* arrival = nullptr);
    int start(MotionState& motion, TickClock& clock, ArrivalWatch* arrival = nullptr);
    void stop();
    // For tests of the whole program: the clock that later calls of start(motion) run by; null
    // restores steady time.
    static void overrideClock(TickClock* clock);
    int id() const { return running_ ? 1 : 0; }

private:
    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    bool running_ = false;
    ArrivalWatch* arrival_ = nullptr; // the watch this thread checks, while it runs
};
