#pragma once

#include <QString>

#include <cstdint>

#include "motion/CameraExchanges.h"

struct AppConfig;
class ArrivalWatch;
struct MotionState;
struct PatrolState;
class DirectionControl;
class MotionView;
class PatrolView;
class PositionRows;
class QObject;
class Sound;

// The automatic patrol and the go-to: a step machine driven by the main window's 100 ms tick.
// It drives through direction control, judges arrival from the dead-reckoned counters alone,
// and shows each step in the position list. The arrival at a position is not left to the next
// tick: the arrival watch reports the 10 ms tick that reaches the target.
class PatrolSequencer {
public:
    static constexpr int kTickMs = 100;

    static constexpr int kStartButton = 170;
    static constexpr int kStopButton = 171;
    static constexpr int kLampOn = 167;
    static constexpr int kLampOff = 168;
    static constexpr int kClickSound = 178;

    static constexpr int kImageInProgress = 5;
    static constexpr int kImagePause = 6;
    static constexpr int kImageDrive = 10; // reference drive and drive to zero
    static constexpr int kImagePosition = 14;

    static constexpr int32_t kPhaseReference = 0;
    static constexpr int32_t kPhaseZero = 10;
    static constexpr int32_t kPhasePause = 20;
    static constexpr int32_t kPhasePositions = 50;

    PatrolSequencer(PatrolState& patrol, MotionState& motion, const AppConfig& config, DirectionControl& direction,
                    MotionView& arrows, PatrolView& view, PositionRows& rows, Sound& sound, ArrivalWatch& arrival,
                    CameraExchanges& exchanges);
    ~PatrolSequencer();
    PatrolSequencer(const PatrolSequencer&) = delete;
    PatrolSequencer& operator=(const PatrolSequencer&) = delete;

    // Timer 100: the position display, then one step while automatic mode runs.
    void OnPatrolTick();
    void OnStartAutomatic();
    void OnStopAutomatic();
    void OnGoToPosition(QObject* owner);
    // The arrival watch saw the counter reach the target: the arrival test of the drive runs
    // now instead of at the next tick.
    void OnArrival();

private:
    void referenceStep();
    void zeroStep();
    void pauseStep();
    void positionStep();
    // A command lost on its way leaves the counters unsure: nothing is photographed until a
    // reference drive, one whose own commands all arrived, has found the head's place again.
    bool restartWhenUncertain();
    // The journal hears once of each spell of uncertainty, however many drives it takes.
    void noteUncertain();
    // Step 70: the user click, once every command to the head has been answered, so that the
    // camera never records while it turns.
    void sendUserClick();
    void userClickAnswered(const CameraExchanges::Result& result, const QString& name);
    // Steps 0 and 10 of the reference drive, the drive to zero and the pause: show the row in
    // progress, then start the clock (and the drive to the left end).
    void beginTimedStep(int row, bool driveLeft);
    QString rowName() const;
    void showInProgress(int row);
    // True when a drive may start now: just after a tick (or when the wake-up for it was lost);
    // otherwise asks for the wake-up after the next tick and returns false.
    bool atTickStart();
    void setButtons(bool running);
    void setArrows(bool automatic);

    PatrolState& patrol_;
    MotionState& motion_;
    const AppConfig& config_;
    DirectionControl& direction_;
    MotionView& arrows_;
    PatrolView& view_;
    PositionRows& rows_;
    Sound& sound_;
    ArrivalWatch& arrival_;
    CameraExchanges& exchanges_;
    CameraExchanges::Id click_ = 0;    // the user click on its way, 0 for none
    bool clickCounts_ = false;         // its answer moves the patrol on; not after a Stop
    uint32_t lostBeforeReference_ = 0; // commands lost before the reference drive began
    bool uncertainNoted_ = false;
    bool wokenByTick_ = false;    // the step runs from the wake-up right after a tick
    bool waitingForTick_ = false; // a drive waits for the wake-up after the next tick
};
