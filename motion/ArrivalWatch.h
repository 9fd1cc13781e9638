#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

struct MotionState;
class QObject;
class QSocketNotifier;

// Hands the moment a drive reaches its target from the tick thread to the GUI thread, so that
// the stop leaves within the tick that reaches it. The GUI thread arms a direction and a
// target; after each tick the tick thread compares the counter and, once, makes a wake-up
// descriptor readable. The GUI thread's notifier then calls the handler.
class ArrivalWatch {
public:
    // The wake-up's notifier, named "arrival", lives among the owner's children.
    explicit ArrivalWatch(QObject* owner = nullptr);
    ~ArrivalWatch();
    ArrivalWatch(const ArrivalWatch&) = delete;
    ArrivalWatch& operator=(const ArrivalWatch&) = delete;

    // GUI thread. A drive in `direction` (Up, Right, Down, Left) arrives when its counter has
    // reached or passed `target`. Arm before the direction is sent, so that no tick of the
    // drive goes unseen.
    void arm(int32_t direction, int32_t target);
    void disarm();
    // GUI thread. The handler runs once more right after the next tick, so that a drive can
    // start at the beginning of a tick instead of somewhere inside one.
    void wakeAfterNextTick();
    // Whether a tick thread checks this watch; without one no tick ever wakes anyone.
    bool watched() const { return watched_.load(std::memory_order_acquire); }
    void setWatched(bool watched) { watched_.store(watched, std::memory_order_release); }
    void onArrival(std::function<void()> handler) { handler_ = std::move(handler); }

    // Tick thread, after each tick: never allocates, locks or blocks.
    void check(const MotionState& motion);

private:
    void wakeUp();
    void takeWakeUp();

    std::atomic<int32_t> direction_{0}; // 0 while disarmed
    std::atomic<int32_t> target_{0};
    std::atomic<bool> wakeAfterTick_{false};
    std::atomic<bool> watched_{false};
    int wakeDescriptor_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> handler_;
};
