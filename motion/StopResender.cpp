#include "motion/StopResender.h"

#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "motion/CameraRequest.h"
#include "motion/CommPort.h"
#include "motion/Direction.h"

#include <system_error>

struct StopResender::CameraAttempt {
    enum Outcome { Running, Taken, NotTaken };

    std::thread thread;
    CameraRequestAbort abort;
    std::atomic<int> outcome{Running};

    ~CameraAttempt()
    {
        abort.abort();
        if (thread.joinable())
            thread.join();
    }
};

StopResender::StopResender(const AppConfig& config, CommPort& ports) : config_(config), ports_(ports)
{
    timer_.setInterval(kInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { resend(); });
}

StopResender::~StopResender() = default;

void StopResender::stopNotTaken()
{
    if (pending_ || !reachable())
        return;
    pending_ = true;
    // Once per stop that was not taken, however many tries it then needs.
    JournalStopSentAgain();
    timer_.start();
}

void StopResender::cancel()
{
    pending_ = false;
    timer_.stop();
    // Ended, not waited for: its answer no longer counts, and it is joined later.
    if (attempt_) {
        attempt_->abort.abort();
        abandoned_ = std::move(attempt_);
    }
}

void StopResender::resend()
{
    if (!pending_)
        return;
    if (config_.usesSerialPort()) {
        const char stop = KeypadDigit(Stop);
        if (ports_.Write(config_.portSlot, &stop, 1) == 1)
            finished();
        return;
    }
    if (attempt_ && attempt_->outcome.load(std::memory_order_acquire) == CameraAttempt::Taken) {
        finished();
        return;
    }
    startCameraAttempt();
}

bool StopResender::reachable() const
{
    return config_.usesSerialPort() ? config_.portSlot >= 0 : CameraAddressSet(config_.cameraAddress.toStdString());
}

bool StopResender::startCameraAttempt()
{
    if (attempt_ && attempt_->outcome.load(std::memory_order_acquire) == CameraAttempt::Running)
        return false;
    attempt_ = std::make_unique<CameraAttempt>();
    CameraAttempt& attempt = *attempt_;
    try {
        attempt.thread = std::thread([&attempt, host = config_.cameraAddress.toStdString(),
                                      path = config_.command(Stop + 1).toUtf8().toStdString()] {
            const bool taken = SendCameraCommand(host, path, &attempt.abort);
            attempt.outcome.store(taken ? CameraAttempt::Taken : CameraAttempt::NotTaken, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        // No thread now; the next half second tries again.
        attempt.outcome.store(CameraAttempt::NotTaken, std::memory_order_release);
        return false;
    }
    return true;
}

void StopResender::finished()
{
    pending_ = false;
    timer_.stop();
    attempt_.reset();
}
