#include "motion/PatrolSequencer.h"

#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/PositionRows.h"
#include "base/Sound.h"
#include "base/TextRules.h"
#include "motion/ArrivalWatch.h"
#include "motion/Direction.h"
#include "motion/DirectionControl.h"
#include "motion/MotionState.h"
#include "motion/PatrolState.h"
#include "motion/PatrolView.h"

#include <limits>
#include <utility>

namespace {

constexpr int kCellChars = 100; // cells are read as at most 99 characters

// The buttons that stay disabled while the patrol runs, in the order they are switched.
constexpr int kLockedButtons[] = {103, 101, 150, 300, 301, 302};

constexpr int kMessageEditInAutoMode = 1012;
constexpr int kMessageSelectPosition = 1013;

} // namespace

PatrolSequencer::PatrolSequencer(PatrolState& patrol, MotionState& motion, const AppConfig& config,
                                 DirectionControl& direction, MotionView& arrows, PatrolView& view, PositionRows& rows,
                                 Sound& sound, ArrivalWatch& arrival, CameraExchanges& exchanges)
    : patrol_(patrol), motion_(motion), config_(config), direction_(direction), arrows_(arrows), view_(view),
      rows_(rows), sound_(sound), arrival_(arrival), exchanges_(exchanges)
{}

PatrolSequencer::~PatrolSequencer()
{
    exchanges_.abort(click_);
}

void PatrolSequencer::OnPatrolTick()
{
    if (patrol_.inTick)
        return;
    patrol_.inTick = 1;
    // The idle tick counts for ever; it saturates instead of overflowing into a negative time.
    constexpr int32_t kLimit = std::numeric_limits<int32_t>::max() - kTickMs;
    patrol_.elapsedMs = patrol_.elapsedMs > kLimit ? std::numeric_limits<int32_t>::max() : patrol_.elapsedMs + kTickMs;
    direction_.RefreshPositionDisplay();
    if (motion_.automaticMode) {
        switch (patrol_.phase) {
        case kPhaseReference:
            referenceStep();
            break;
        case kPhaseZero:
            zeroStep();
            break;
        case kPhasePause:
            pauseStep();
            break;
        case kPhasePositions:
            positionStep();
            break;
        default:
            break;
        }
    }
    patrol_.inTick = 0;
}

void PatrolSequencer::referenceStep()
{
    if (patrol_.referenceDone == 1) {
        patrol_.phase = kPhaseZero;
        return;
    }
    switch (patrol_.step) {
    case 0:
    case 10:
        beginTimedStep(0, true);
        break;
    case 20:
        if (patrol_.elapsedMs / 1000 >= config_.referenceDriveSec)
            patrol_.step = 100;
        break;
    case 100:
        rows_.setImage(0, kImageDrive);
        direction_.SendDirection(Stop);
        // A drive whose commands did not all arrive has found nothing: it runs again.
        if (motion_.commandsLost != lostBeforeReference_) {
            noteUncertain();
            patrol_.step = 0;
            break;
        }
        motion_.positionUncertain = 0;
        uncertainNoted_ = false;
        patrol_.referenceDone = 1;
        patrol_.phase = kPhaseZero;
        patrol_.step = 0;
        break;
    default:
        break;
    }
}

void PatrolSequencer::zeroStep()
{
    switch (patrol_.step) {
    case 0:
    case 10:
        beginTimedStep(1, true);
        break;
    case 20: {
        // Long enough to come back from the last position, plus the margin; 64 bits because
        // the configured seconds are not range-checked.
        const int64_t driveMs = int64_t{patrol_.lastTargetX} + int64_t{config_.zeroDriveExtraSec} * 1000;
        if (patrol_.elapsedMs >= driveMs)
            patrol_.step = 100;
        break;
    }
    case 100:
        // The counters are zeroed before the stop leaves: ticks still counting Left until then
        // must not remain in them.
        motion_.posX = 0;
        motion_.posY = 0;
        rows_.setImage(1, kImageDrive);
        direction_.SendDirection(Stop);
        patrol_.phase = kPhasePause;
        patrol_.step = 0;
        break;
    default:
        break;
    }
}

void PatrolSequencer::pauseStep()
{
    switch (patrol_.step) {
    case 0:
    case 10:
        beginTimedStep(2, false);
        break;
    case 20:
        if (patrol_.elapsedMs / 1000 >= config_.cyclePauseSec)
            patrol_.step = 100;
        break;
    case 100:
        rows_.setImage(2, kImagePause);
        patrol_.row = PositionRows::kFirstPositionRow;
        patrol_.phase = kPhasePositions;
        patrol_.step = 0;
        break;
    default:
        break;
    }
}

bool PatrolSequencer::restartWhenUncertain()
{
    if (!motion_.positionUncertain || patrol_.goToOnly)
        return false;
    noteUncertain();
    arrival_.disarm();
    waitingForTick_ = false;
    clickCounts_ = false;
    rows_.setImage(patrol_.row, kImagePosition);
    direction_.SendDirection(Stop);
    patrol_.referenceDone = 0;
    patrol_.phase = kPhaseReference;
    patrol_.step = 0;
    return true;
}

void PatrolSequencer::noteUncertain()
{
    if (!std::exchange(uncertainNoted_, true))
        JournalPositionUncertain();
}

void PatrolSequencer::positionStep()
{
    if (restartWhenUncertain())
        return;
    switch (patrol_.step) {
    case 0:
        if (rows_.cellText(patrol_.row, PositionRows::kNameColumn, kCellChars).isEmpty()) {
            // A go-to whose row has no name ends here; it never runs a cycle.
            if (patrol_.goToOnly) {
                OnStopAutomatic();
                return;
            }
            patrol_.phase = kPhaseReference;
            patrol_.step = 0;
            return;
        }
        patrol_.targetX = Atoi(rows_.cellText(patrol_.row, PositionRows::kXColumn, kCellChars));
        patrol_.targetY = Atoi(rows_.cellText(patrol_.row, PositionRows::kYColumn, kCellChars));
        patrol_.lastTargetX = patrol_.targetX;
        showInProgress(patrol_.row);
        patrol_.step = 10;
        break;
    case 10: {
        const int32_t x = motion_.posX.load();
        if (x != patrol_.targetX && !(direction_.CommandsSettled() && atTickStart()))
            break;
        if (x != patrol_.targetX) {
            const int32_t drive = x < patrol_.targetX ? Right : Left;
            arrival_.arm(drive, patrol_.targetX);
            direction_.SendDirection(drive);
        }
        patrol_.step = x == patrol_.targetX ? 30 : 20;
        break;
    }
    case 20: {
        const int32_t moving = motion_.direction.load();
        const int32_t x = motion_.posX.load();
        // The counter is not set to the target: the overshoot stays and the next approach
        // starts from it.
        if ((moving == Right && x >= patrol_.targetX) || (moving == Left && x <= patrol_.targetX)) {
            arrival_.disarm();
            direction_.SendDirection(Stop);
            patrol_.step = 30;
        }
        break;
    }
    case 30: {
        const int32_t y = motion_.posY.load();
        if (config_.driveYPositions && y != patrol_.targetY) {
            if (!(direction_.CommandsSettled() && atTickStart()))
                break;
            const int32_t drive = y < patrol_.targetY ? Up : Down;
            arrival_.arm(drive, patrol_.targetY);
            direction_.SendDirection(drive);
            patrol_.step = 40;
        } else {
            patrol_.step = 50;
        }
        break;
    }
    case 40: {
        const int32_t moving = motion_.direction.load();
        const int32_t y = motion_.posY.load();
        if ((moving == Up && y >= patrol_.targetY) || (moving == Down && y <= patrol_.targetY)) {
            arrival_.disarm();
            direction_.SendDirection(Stop);
            patrol_.step = 50;
        }
        break;
    }
    case 50:
        JournalPositionReached(rowName(), patrol_.targetX, patrol_.targetY);
        if (patrol_.goToOnly) {
            OnStopAutomatic();
            return;
        }
        patrol_.elapsedMs = 0;
        patrol_.step = 60;
        break;
    case 60:
        if (patrol_.elapsedMs >= config_.dwellMs)
            patrol_.step = 70;
        break;
    case 70:
        sendUserClick();
        break;
    case 100:
        rows_.setImage(patrol_.row, kImagePosition);
        ++patrol_.row;
        patrol_.step = 0;
        break;
    default:
        break;
    }
}

void PatrolSequencer::sendUserClick()
{
    if (click_ != 0 || !direction_.CommandsSettled())
        return;
    // Only the journal hears how the click went; the next step waits for its answer, or its
    // time-out, so that the head never turns while the camera records.
    clickCounts_ = true;
    click_ = exchanges_.start(
        config_.cameraAddress.toStdString(), config_.command(8).toUtf8().toStdString(), nullptr,
        kCameraExchangeTimeoutMs, CameraExchanges::Purpose::Click,
        [this, name = rowName()](const CameraExchanges::Result& result) { userClickAnswered(result, name); });
}

void PatrolSequencer::userClickAnswered(const CameraExchanges::Result& result, const QString& name)
{
    JournalUserClick(name, DescribeCameraOutcome(result.outcome));
    click_ = 0;
    if (!std::exchange(clickCounts_, false) || !motion_.automaticMode || patrol_.step != 70)
        return;
    if (config_.soundSignals)
        sound_.play(kClickSound);
    patrol_.step = 100;
}

void PatrolSequencer::OnArrival()
{
    // Steps 10 and 30 start a drive, 20 and 40 test the arrival and send the stop; nothing else
    // may run between ticks. A wake-up inside a running tick is dropped: the next tick's own
    // step does the same, only later.
    const bool driving = patrol_.phase == kPhasePositions && patrol_.step >= 10 && patrol_.step <= 40;
    if (patrol_.inTick || !motion_.automaticMode || !driving)
        return;
    patrol_.inTick = 1;
    wokenByTick_ = true;
    positionStep();
    wokenByTick_ = false;
    patrol_.inTick = 0;
}

bool PatrolSequencer::atTickStart()
{
    // The counter adds a whole tick for a drive that began anywhere inside it, so a drive started
    // between ticks would be counted for up to 10 ms it never travelled, and the error would add
    // up over the positions of a cycle. Started just after a tick, the first tick it gets is whole.
    if (wokenByTick_ || waitingForTick_ || !arrival_.watched()) {
        waitingForTick_ = false;
        return true;
    }
    waitingForTick_ = true;
    arrival_.wakeAfterNextTick();
    return false;
}

void PatrolSequencer::OnStartAutomatic()
{
    JournalPatrolStarted(patrol_.goToOnly != 0);
    setButtons(true);
    view_.setLamp(kLampOn);
    setArrows(true);
    // A go-to has chosen its phase and step already.
    if (!patrol_.goToOnly) {
        patrol_.phase = kPhaseReference;
        patrol_.step = 0;
    }
    patrol_.lastTargetX = 0;
    patrol_.targetX = 0;
    patrol_.targetY = 0;
    patrol_.referenceDone = 0;
    motion_.automaticMode = 1;
}

void PatrolSequencer::OnStopAutomatic()
{
    waitingForTick_ = false;
    // A click on its way still ends in the journal, and a new patrol's click waits for it.
    clickCounts_ = false;
    JournalPatrolStopped(patrol_.goToOnly != 0);
    arrival_.disarm();
    motion_.automaticMode = 0;
    patrol_.phase = 0;
    patrol_.step = 0;
    patrol_.goToOnly = 0;
    setButtons(false);
    const int count = rows_.rowCount();
    for (int row = 0; row < count; ++row) {
        const int idle = row < 2 ? kImageDrive : row == 2 ? kImagePause : kImagePosition;
        rows_.setImage(row, idle);
    }
    view_.setLamp(kLampOff);
    setArrows(false);
    // Sent even when the head stands: a stop is the one command that is always safe.
    direction_.SendDirection(Stop);
}

void PatrolSequencer::OnGoToPosition(QObject* owner)
{
    if (motion_.automaticMode) {
        MessageBox(owner, LoadText(kMessageEditInAutoMode, config_.language), MessageButtons::Ok, MessageIcon::Stop);
        return;
    }
    const int selected = FirstSelectedRow(rows_);
    if (selected < PositionRows::kFirstPositionRow) {
        MessageBox(owner, LoadText(kMessageSelectPosition, config_.language), MessageButtons::Ok,
                   MessageIcon::Information);
        return;
    }
    patrol_.row = selected;
    patrol_.goToOnly = 1;
    patrol_.step = 0;
    patrol_.phase = kPhasePositions;
    OnStartAutomatic();
}

void PatrolSequencer::beginTimedStep(int row, bool driveLeft)
{
    if (patrol_.step == 0) {
        showInProgress(row);
        patrol_.step = 10;
        return;
    }
    // A timed drive counts from when its command leaves.
    if (driveLeft && !direction_.CommandsSettled())
        return;
    if (row == 0)
        lostBeforeReference_ = motion_.commandsLost;
    patrol_.elapsedMs = 0;
    if (driveLeft)
        direction_.SendDirection(Left);
    patrol_.step = 20;
}

QString PatrolSequencer::rowName() const
{
    return rows_.cellText(patrol_.row, PositionRows::kNameColumn, kCellChars);
}

void PatrolSequencer::showInProgress(int row)
{
    rows_.setImage(row, kImageInProgress);
    // A long list may have scrolled the step in progress out of sight.
    rows_.scrollTo(row);
}

void PatrolSequencer::setButtons(bool running)
{
    view_.setButtonEnabled(kStartButton, !running);
    view_.setButtonEnabled(kStopButton, running);
    for (const int button : kLockedButtons)
        view_.setButtonEnabled(button, !running);
}

void PatrolSequencer::setArrows(bool automatic)
{
    // Controls 200, 201, 202, 203.
    for (const Direction direction : {Left, Up, Right, Down}) {
        const ArrowIcons& arrow = kArrows[direction];
        arrows_.setArrowIcon(arrow.controlId, automatic ? arrow.automaticIcon : arrow.idleIcon);
    }
}
