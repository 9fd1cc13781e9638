#include "motion/HeadCommands.h"

#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"

#include <algorithm>

HeadCommands::HeadCommands(const AppConfig& config, CommPort& ports, CameraExchanges& exchanges)
    : config_(config), ports_(ports), exchanges_(exchanges)
{
    resendTimer_.setInterval(kResendInterval);
    QObject::connect(&resendTimer_, &QTimer::timeout, [this] { resend(); });
}

HeadCommands::~HeadCommands()
{
    for (const auto& [id, kind] : open_)
        exchanges_.abort(id);
}

int32_t HeadCommands::give(int32_t code, std::function<void()> leaving)
{
    if (code == Stop) {
        stopWanted_ = true;
        waitingMove_ = 0;
        waitingLeaving_ = {};
        if (config_.usesSerialPort())
            return writeToLine(Stop);
        if (openMoves() > 0)
            stopAfterMove_ = true;
        sendToCamera(Stop);
        return 0;
    }
    // A move ends the stops still being sent again; one already on its way is waited for.
    stopWanted_ = false;
    endResending();
    if (config_.usesSerialPort()) {
        if (leaving)
            leaving();
        const int32_t written = writeToLine(code);
        if (written == 0)
            notDelivered();
        return written;
    }
    if (!open_.empty()) {
        waitingMove_ = code;
        waitingLeaving_ = std::move(leaving);
        return 0;
    }
    if (leaving)
        leaving();
    sendToCamera(code);
    return 0;
}

bool HeadCommands::settled() const
{
    if (config_.usesSerialPort())
        return ports_.Unsent(config_.portSlot) <= 0;
    return open_.empty() && waitingMove_ == 0;
}

bool HeadCommands::stopOnItsWay() const
{
    if (config_.usesSerialPort())
        return stopWanted_ && ports_.Unsent(config_.portSlot) > 0;
    return openStops() > 0;
}

void HeadCommands::prepareForTheEnd()
{
    ending_ = true;
    endResending();
}

void HeadCommands::sendToCamera(int32_t code)
{
    // Without a camera address a command has nowhere to go; nothing is on its way.
    if (!reachable())
        return;
    const Kind kind = code == Stop ? Kind::Stop : Kind::Move;
    const long timeoutMs = ending_ && kind == Kind::Stop ? kEndStopTimeoutMs : kCameraExchangeTimeoutMs;
    const CameraExchanges::Id id =
        exchanges_.start(config_.cameraAddress.toStdString(), config_.command(code + 1).toUtf8().toStdString(), nullptr,
                         timeoutMs, CameraExchanges::Purpose::Command,
                         [this, kind](const CameraExchanges::Result& result) { cameraEnded(result, kind); });
    open_.emplace(id, kind);
}

void HeadCommands::cameraEnded(const CameraExchanges::Result& result, Kind kind)
{
    open_.erase(result.id);
    if (!result.outcome.taken())
        notDelivered();
    if (kind == Kind::Stop && stopWanted_) {
        if (result.outcome.taken())
            endResending();
        else if (openStops() == 0)
            stopNotTaken();
    }
    if (kind == Kind::Move && stopAfterMove_ && openMoves() == 0) {
        stopAfterMove_ = false;
        sendToCamera(Stop);
    }
    if (open_.empty() && waitingMove_ != 0) {
        const int32_t code = std::exchange(waitingMove_, 0);
        const std::function<void()> leaving = std::move(waitingLeaving_);
        waitingLeaving_ = {};
        if (leaving)
            leaving();
        sendToCamera(code);
    }
}

// A stop drops whatever a held line has not taken yet, so that it is the first to leave. It is
// taken once the line has taken it.
int32_t HeadCommands::writeToLine(int32_t code)
{
    const char digit = KeypadDigit(code);
    if (code != Stop)
        return ports_.Write(config_.portSlot, &digit, 1);
    ports_.DropUnsent(config_.portSlot);
    const int32_t written = ports_.Write(config_.portSlot, &digit, 1);
    if (written == 0)
        notDelivered();
    if (written == 1 && ports_.Unsent(config_.portSlot) == 0)
        endResending();
    else
        stopNotTaken();
    return written;
}

void HeadCommands::stopNotTaken()
{
    if (resendPending_ || ending_ || !reachable())
        return;
    resendPending_ = true;
    // Once per stop that was not taken, however many tries it then needs.
    JournalStopSentAgain();
    resendTimer_.start();
}

void HeadCommands::notDelivered()
{
    if (reachable() && notDelivered_)
        notDelivered_();
}

void HeadCommands::endResending()
{
    resendPending_ = false;
    resendTimer_.stop();
}

void HeadCommands::resend()
{
    if (!resendPending_ || !stopWanted_) {
        endResending();
        return;
    }
    if (config_.usesSerialPort()) {
        const qint64 unsent = ports_.Unsent(config_.portSlot);
        if (unsent == 0)
            endResending();
        else if (unsent < 0) {
            // The line was lost: write the stop again, which opens it again when it is back.
            const char stop = KeypadDigit(Stop);
            const int written = ports_.Write(config_.portSlot, &stop, 1);
            if (written == 0)
                notDelivered();
            else if (ports_.Unsent(config_.portSlot) == 0)
                endResending();
        }
        // A held line keeps the stop at its head: nothing to add.
        return;
    }
    if (openStops() == 0)
        sendToCamera(Stop);
}

bool HeadCommands::reachable() const
{
    return config_.usesSerialPort() ? config_.portSlot >= 0 : CameraAddressSet(config_.cameraAddress.toStdString());
}

int HeadCommands::openStops() const
{
    return static_cast<int>(
        std::count_if(open_.begin(), open_.end(), [](const auto& e) { return e.second == Kind::Stop; }));
}

int HeadCommands::openMoves() const
{
    return static_cast<int>(open_.size()) - openStops();
}
