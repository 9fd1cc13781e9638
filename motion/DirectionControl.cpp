#include "motion/DirectionControl.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/TextRules.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"

#include <algorithm>
#include <utility>

DirectionControl::DirectionControl(MotionState& motion, const AppConfig& config, CommPort& ports,
                                   CameraExchanges& exchanges, MotionView& view)
    : motion_(motion), config_(config), view_(view), commands_(config, ports, exchanges)
{
    commands_.onNotDelivered([this] {
        ++motion_.commandsLost;
        motion_.positionUncertain = 1;
    });
}

int32_t DirectionControl::SendDirection(int32_t code)
{
    if (code < Stop || code > Left)
        return 0;
    if (code == Stop) {
        if (pressedArrow_ != Stop) {
            const ArrowIcons& arrow = kArrows[pressedArrow_];
            view_.setArrowIcon(arrow.controlId, motion_.automaticMode ? arrow.automaticIcon : arrow.idleIcon);
        }
        pressedArrow_ = Stop;
        motion_.direction = Stop;
        return commands_.give(Stop);
    }
    pressedArrow_ = code;
    view_.setArrowIcon(kArrows[code].controlId, kArrows[code].pressedIcon);
    // The counters follow the command from the moment it leaves, not from when it arrives.
    return commands_.give(code, [this, code] { motion_.direction = code; });
}

void DirectionControl::OnArrowButtonDown(QPoint point)
{
    stoppedBeforeRelease_ = false;
    if (motion_.automaticMode)
        return;
    const int32_t hit = HitTestArrows(point);
    if (hit != Stop)
        SendDirection(hit);
}

void DirectionControl::OnArrowButtonUp(QPoint)
{
    heldKeys_.clear();
    if (std::exchange(stoppedBeforeRelease_, false))
        return;
    if (!motion_.automaticMode)
        SendDirection(Stop);
}

void DirectionControl::OnSteeringKeyDown(int key, int32_t direction)
{
    if (motion_.automaticMode)
        return;
    if (direction == Stop) {
        stopHeld();
        return;
    }
    if (std::find(heldKeys_.begin(), heldKeys_.end(), key) == heldKeys_.end())
        heldKeys_.push_back(key);
    SendDirection(direction);
}

bool DirectionControl::OnSteeringKeyUp(int key)
{
    if (std::find(heldKeys_.begin(), heldKeys_.end(), key) == heldKeys_.end())
        return false;
    if (!motion_.automaticMode)
        stopHeld();
    heldKeys_.clear();
    return true;
}

void DirectionControl::stopHeld()
{
    heldKeys_.clear();
    stoppedBeforeRelease_ = true;
    SendDirection(Stop);
}

void DirectionControl::ReleaseHeldArrow()
{
    if (motion_.automaticMode || pressedArrow_ == Stop)
        return;
    stopHeld();
}

void DirectionControl::OnZeroPosition(QObject* owner)
{
    if (MessageBox(owner, LoadText(1004, config_.language), MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;
    motion_.posX = 0;
    motion_.posY = 0;
    // The operator has set the head's true place: the counters are right again.
    motion_.positionUncertain = 0;
}

void DirectionControl::RefreshPositionDisplay()
{
    // A position that may be off shows a question mark behind each counter.
    const bool uncertainChanged = motion_.positionUncertain != motion_.shownUncertain;
    motion_.shownUncertain = motion_.positionUncertain;
    const QString mark = motion_.positionUncertain ? QStringLiteral(" ?") : QString();
    const int32_t x = motion_.posX.load();
    if (x != motion_.shownX || uncertainChanged) {
        view_.setPositionText(kPositionDisplayX, FormatCounter(x) + mark);
        motion_.shownX = x;
    }
    const int32_t y = motion_.posY.load();
    if (y != motion_.shownY || uncertainChanged) {
        view_.setPositionText(kPositionDisplayY, FormatCounter(y) + mark);
        motion_.shownY = y;
    }
}

int32_t DirectionControl::HitTestArrows(QPoint point) const
{
    for (const Direction direction : kArrowHitOrder) {
        const QRect r = view_.arrowRect(kArrows[direction].controlId);
        // The right and bottom edges (left + width, top + height) count as inside.
        const bool inside = point.x() >= r.left() && point.x() <= r.left() + r.width() && point.y() >= r.top()
                            && point.y() <= r.top() + r.height();
        if (inside)
            return direction;
    }
    return Stop;
}
