#include "motion/DirectionControl.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/TextRules.h"
#include "motion/CameraRequest.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"
#include "motion/MotionState.h"

#include <utility>

DirectionControl::DirectionControl(MotionState& motion, const AppConfig& config, CommPort& ports, MotionView& view)
    : motion_(motion), config_(config), ports_(ports), view_(view), resender_(config, ports)
{}

int32_t DirectionControl::SendDirection(int32_t code)
{
    if (code < Stop || code > Left)
        return 0;
    if (code == Stop) {
        const int32_t moving = motion_.direction.load();
        if (moving >= Up && moving <= Left) {
            const ArrowIcons& arrow = kArrows[moving];
            view_.setArrowIcon(arrow.controlId, motion_.automaticMode ? arrow.automaticIcon : arrow.idleIcon);
        }
    }
    // A direction ends the stops still being sent again, before it leaves, so none follows it.
    if (code != Stop)
        resender_.cancel();
    // The counters follow the command from the moment it is given, not from when it arrives.
    motion_.direction = code;
    if (code != Stop)
        view_.setArrowIcon(kArrows[code].controlId, kArrows[code].pressedIcon);

    int32_t result = 0;
    bool taken = false;
    if (config_.usesSerialPort()) {
        const char digit = KeypadDigit(code);
        result = ports_.Write(config_.portSlot, &digit, 1);
        taken = result == 1;
    } else {
        const std::string path = config_.command(code + 1).toUtf8().toStdString();
        taken = SendCameraCommand(config_.cameraAddress.toStdString(), path, nullptr,
                                  ending_ ? kEndStopTimeoutMs : kCameraExchangeTimeoutMs);
    }
    if (code == Stop && !ending_) {
        if (taken)
            resender_.cancel();
        else
            resender_.stopNotTaken();
    }
    return result;
}

void DirectionControl::PrepareForTheEnd()
{
    resender_.cancel();
    ending_ = true;
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
    if (std::exchange(stoppedBeforeRelease_, false))
        return;
    if (!motion_.automaticMode)
        SendDirection(Stop);
}

void DirectionControl::ReleaseHeldArrow()
{
    if (motion_.automaticMode || motion_.direction.load() == Stop)
        return;
    stoppedBeforeRelease_ = true;
    SendDirection(Stop);
}

void DirectionControl::OnZeroPosition(QObject* owner)
{
    if (MessageBox(owner, LoadText(1004, config_.language), MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;
    motion_.posX = 0;
    motion_.posY = 0;
}

void DirectionControl::RefreshPositionDisplay()
{
    const int32_t x = motion_.posX.load();
    if (x != motion_.shownX) {
        view_.setPositionText(kPositionDisplayX, FormatCounter(x));
        motion_.shownX = x;
    }
    const int32_t y = motion_.posY.load();
    if (y != motion_.shownY) {
        view_.setPositionText(kPositionDisplayY, FormatCounter(y));
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
