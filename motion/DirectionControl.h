#pragma once

#include "motion/HeadCommands.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

struct AppConfig;
struct MotionState;
class CameraExchanges;
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
    DirectionControl(MotionState& motion, const AppConfig& config, CommPort& ports, CameraExchanges& exchanges,
                     MotionView& view);

    // Sets the arrow icon and gives the command to the configured transport (HeadCommands),
    // which never holds the window. The counters follow the command from the moment it leaves:
    // a stop at once, a move that waits behind an unanswered command when it leaves. Returns the
    // serial bytes handed to the line (1, or 0), or 0 for the camera transport.
    int32_t SendDirection(int32_t code);
    // A stop the head did not take is being sent again every half second.
    bool StopPending() const { return commands_.stopPending(); }
    // Nothing given earlier is still unanswered or waiting: a command given now leaves at once.
    bool CommandsSettled() const { return commands_.settled(); }
    bool StopOnItsWay() const { return commands_.stopOnItsWay(); }
    // From now on a stop waits at most HeadCommands::kEndStopTimeoutMs for the camera and is not
    // sent again: the program is ending.
    void PrepareForTheEnd() { commands_.prepareForTheEnd(); }

    void OnArrowButtonDown(QPoint point);
    void OnArrowButtonUp(QPoint point);
    // A steering key pressed (not an auto-repeat): moves as its arrow's press would, the newest
    // key or arrow winning; Stop stops at once. `key` tells the keys apart.
    void OnSteeringKeyDown(int key, int32_t direction);
    // A key released (not an auto-repeat). Letting go of any held steering key stops the head, and
    // the other keys' and the arrow's releases then send nothing. False when the key was not held
    // for steering.
    bool OnSteeringKeyUp(int key);
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
    MotionView& view_;
    // The stop of a release that ends held keys and a held arrow at once.
    void stopHeld();

    bool stoppedBeforeRelease_ = false;
    std::vector<int> heldKeys_; // the steering keys down since the last stop
    int32_t pressedArrow_ = 0;  // the direction whose arrow shows pressed, 0 for none
    HeadCommands commands_;
};
