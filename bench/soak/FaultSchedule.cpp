#include "bench/soak/FaultSchedule.h"

namespace {

constexpr int kCleanMinMs = 3000;
constexpr int kCleanMaxMs = 8000;
constexpr int kFaultMinMs = 2000;
constexpr int kFaultMaxMs = 5000;

} // namespace

FaultSchedule::FaultSchedule(Duration total, int faultCount, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> clean(kCleanMinMs, kCleanMaxMs);
    std::uniform_int_distribution<int> faulty(kFaultMinMs, kFaultMaxMs);
    std::uniform_int_distribution<int> which(0, faultCount - 1);
    Duration at{clean(random)};
    while (at < total) {
        const Duration end = std::min(total, at + Duration(faulty(random)));
        windows_.push_back({at, end, which(random)});
        at = end + Duration(clean(random));
    }
}

bool FaultSchedule::touchesFault(Duration from, Duration to) const
{
    for (const Window& window : windows_)
        if (from <= window.end && window.begin <= to)
            return true;
    return false;
}
