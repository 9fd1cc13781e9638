#pragma once

#include "motion/CameraExchanges.h"

#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>

struct AppConfig;
class CommPort;

// The head's direction commands on their way, over the serial line or the camera's relay,
// without ever holding the window. They leave in the order given, and the last one the head
// applies is the last one given:
// - A stop leaves at once, on a connection of its own, whatever is still unanswered. A camera
//   may apply two open requests in either order, so a stop given while a move is unanswered is
//   sent once more when that move's exchange has ended.
// - A move leaves when nothing is unanswered (a stop sent again included); until then it waits,
//   and of several waiting moves only the newest is kept. A stop drops a waiting move.
// - A stop the head did not take is sent again every half second, one try at a time, until one
//   is taken or a move is given. On the serial line bytes keep their order by themselves; a stop
//   drops what a held line has not taken yet.
// Used on the GUI thread only.
class HeadCommands {
public:
    static constexpr std::chrono::milliseconds kResendInterval{500};
    static constexpr long kEndStopTimeoutMs = 2000;

    HeadCommands(const AppConfig& config, CommPort& ports, CameraExchanges& exchanges);
    ~HeadCommands();
    HeadCommands(const HeadCommands&) = delete;
    HeadCommands& operator=(const HeadCommands&) = delete;

    // Gives a command. `leaving` runs as a move leaves, at once or later; never for a move that
    // a stop or a newer move replaced. Returns the serial bytes handed to the line (1, or 0),
    // 0 for the camera transport.
    int32_t give(int32_t code, std::function<void()> leaving = {});
    // Nothing unanswered, nothing waiting and nothing left on a held line: a command given now
    // leaves at once and nothing given earlier can overtake it.
    bool settled() const;
    // A stop is still on its way (not answered, or not yet out on the line).
    bool stopOnItsWay() const;
    // A stop the head did not take is being sent again.
    bool stopPending() const { return resendPending_; }
    // From now on a stop waits at most kEndStopTimeoutMs for the camera and is not sent again:
    // the program is ending.
    void prepareForTheEnd();
    // Runs for every direction command that did not reach the head although a transport is
    // configured: the serial line could not take it, or the camera refused it, could not be
    // reached or did not answer.
    void onNotDelivered(std::function<void()> handler) { notDelivered_ = std::move(handler); }

private:
    enum class Kind { Move, Stop };

    void sendToCamera(int32_t code);
    void cameraEnded(const CameraExchanges::Result& result, Kind kind);
    int32_t writeToLine(int32_t code);
    void stopNotTaken();
    void notDelivered();
    void endResending();
    void resend();
    bool reachable() const;
    int openStops() const;
    int openMoves() const;

    const AppConfig& config_;
    CommPort& ports_;
    CameraExchanges& exchanges_;
    std::map<CameraExchanges::Id, Kind> open_; // camera exchanges not yet ended
    int32_t waitingMove_ = 0;                  // 0: none
    std::function<void()> waitingLeaving_;
    bool stopAfterMove_ = false; // send the stop once more when the open moves have ended
    bool stopWanted_ = false;    // the last command given is a stop
    bool resendPending_ = false;
    bool ending_ = false;
    QTimer resendTimer_;
    std::function<void()> notDelivered_;
};
