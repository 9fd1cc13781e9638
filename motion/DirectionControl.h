#pragma once

#include "motion/StopResender.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>

struct AppConfig;
struct MotionState;
class CommPort;
class QObject;

// What direction control needs of the main window.
class MotionView {
public:
    virtual ~MotionView() = default;
    virtual void setArrowIcon(int controlId, int iconId) = 0;
    // The arrow control's rectangle in the main window's client coordinates.
    virtual QRect arrowRect(int controlId) const = 0;
    virtual void setPositionText(int controlId, const QString& text) = 0;
};

// Manual steering: the arrows, the stop on release, zeroing and the position display.
class DirectionControl {
public:
    static constexpr long kEndStopTimeoutMs = 2000;

    DirectionControl(MotionState& motion, const AppConfig& config, CommPort& ports, MotionView& view);

    // Sets the direction, the arrow icon, and sends the command over the configured transport.
    // Returns the serial bytes written (1, or 0), or 0 for the camera transport. A stop the head
    // did not take is sent again every half second until one is taken or a direction is given.
    int32_t SendDirection(int32_t code);
    bool StopPending() const { return resender_.pending(); }
    // The half-second step of a stop sent again.
    void ResendStop() { resender_.resend(); }
    // From now on a stop waits at most kEndStopTimeoutMs for the camera and is not sent again:
    // the program is ending.
    void PrepareForTheEnd();

    void OnArrowButtonDown(QPoint point);
    void OnArrowButtonUp(QPoint point);
    // Ends a manual press whose release the window may never see (it is minimised, loses
    // activation, or something modal opens): sends Stop once, and the release that may still
    // follow sends nothing more. Does nothing while no arrow is held or a patrol steers.
    void ReleaseHeldArrow();
    void OnZeroPosition(QObject* owner);
    void RefreshPositionDisplay();

    // The arrow under the point (edges included), or Stop for none.
    int32_t HitTestArrows(QPoint point) const;

private:
    MotionState& motion_;
    const AppConfig& config_;
    CommPort& ports_;
    MotionView& view_;
    bool stoppedBeforeRelease_ = false;
    StopResender resender_;
    bool ending_ = false;
};
