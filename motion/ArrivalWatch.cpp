#include "motion/ArrivalWatch.h"

#include "motion/Direction.h"
#include "motion/MotionState.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

ArrivalWatch::ArrivalWatch(QObject* owner)
{
    // Non-blocking: the tick thread's write can never wait.
    wakeDescriptor_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeDescriptor_ < 0)
        return; // no wake-up: the patrol tick still finds the arrival, only later
    notifier_ = std::make_unique<QSocketNotifier>(wakeDescriptor_, QSocketNotifier::Read, owner);
    notifier_->setObjectName(QStringLiteral("arrival"));
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        takeWakeUp();
        if (handler_)
            handler_();
    });
}

ArrivalWatch::~ArrivalWatch()
{
    notifier_.reset();
    if (wakeDescriptor_ >= 0)
        ::close(wakeDescriptor_);
}

void ArrivalWatch::arm(int32_t direction, int32_t target)
{
    direction_.store(0, std::memory_order_relaxed);
    target_.store(target, std::memory_order_relaxed);
    direction_.store(direction, std::memory_order_release);
}

void ArrivalWatch::disarm()
{
    direction_.store(0, std::memory_order_relaxed);
    wakeAfterTick_.store(false, std::memory_order_relaxed);
}

void ArrivalWatch::wakeAfterNextTick()
{
    wakeAfterTick_.store(true, std::memory_order_release);
}

void ArrivalWatch::check(const MotionState& motion)
{
    if (wakeAfterTick_.load(std::memory_order_relaxed) && wakeAfterTick_.exchange(false, std::memory_order_acquire))
        wakeUp();
    int32_t armed = direction_.load(std::memory_order_acquire);
    if (armed == 0 || motion.direction.load(std::memory_order_relaxed) != armed)
        return;
    const int32_t target = target_.load(std::memory_order_relaxed);
    const int32_t x = motion.posX.load(std::memory_order_relaxed);
    const int32_t y = motion.posY.load(std::memory_order_relaxed);
    const bool arrived = (armed == Right && x >= target) || (armed == Left && x <= target)
                         || (armed == Up && y >= target) || (armed == Down && y <= target);
    // One wake-up per arming, even when the GUI thread is slow to take it.
    if (arrived && direction_.compare_exchange_strong(armed, 0, std::memory_order_relaxed))
        wakeUp();
}

void ArrivalWatch::wakeUp()
{
    const uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeDescriptor_, &one, sizeof one);
}

void ArrivalWatch::takeWakeUp()
{
    uint64_t count = 0;
    [[maybe_unused]] const auto taken = ::read(wakeDescriptor_, &count, sizeof count);
}
