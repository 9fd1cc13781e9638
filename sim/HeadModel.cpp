#include "sim/HeadModel.h"

#include <algorithm>

HeadModel::HeadModel(const Settings& settings, Clock clock)
    : settings_(settings), clock_(std::move(clock)), updated_(clock_())
{
    state_.pan = std::clamp(settings.startPan.value_or(settings.panEndStop / 2), 0.0, settings.panEndStop);
    state_.tilt = std::clamp(settings.startTilt, settings.tiltMin, settings.tiltMax);
}

bool HeadModel::receive(char byte)
{
    const std::optional<HeadMotion> command = HeadMotionOfByte(byte);
    if (!command)
        return false;
    const HeadMotion direction = *command;
    std::lock_guard lock(mutex_);
    const TimePoint now = clock_();
    advanceTo(now);
    TimePoint effective = now + (direction == HeadMotion::Stop ? settings_.stopLatency : settings_.startLatency);
    if (!pending_.empty())
        effective = std::max(effective, pending_.back().effective);
    pending_.push_back({effective, direction});
    state_.lastCommand = direction;
    ++state_.commands;
    return true;
}

HeadModel::State HeadModel::state()
{
    std::lock_guard lock(mutex_);
    advanceTo(clock_());
    return state_;
}

void HeadModel::advanceTo(TimePoint now)
{
    while (!pending_.empty() && pending_.front().effective <= now) {
        travel(pending_.front().effective);
        state_.direction = pending_.front().direction;
        pending_.pop_front();
    }
    travel(now);
}

void HeadModel::travel(TimePoint until)
{
    if (until <= updated_)
        return;
    const double seconds = std::chrono::duration<double>(until - updated_).count();
    updated_ = until;
    switch (state_.direction) {
    case HeadMotion::Up:
        state_.tilt = std::min(state_.tilt + settings_.tiltSpeed * seconds, settings_.tiltMax);
        break;
    case HeadMotion::Down:
        state_.tilt = std::max(state_.tilt - settings_.tiltSpeed * seconds, settings_.tiltMin);
        break;
    case HeadMotion::Right:
        state_.pan = std::min(state_.pan + settings_.panSpeed * seconds, settings_.panEndStop);
        break;
    case HeadMotion::Left:
        state_.pan = std::max(state_.pan - settings_.panSpeed * seconds, 0.0);
        break;
    case HeadMotion::Stop:
        break;
    }
}
