#pragma once

#include "motion/CameraLogin.h"
#include "motion/CameraOutcome.h"
#include "motion/CameraRequest.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class CameraHandle;
class QSocketNotifier;
typedef void CURLM;

// The camera requests of the program, side by side on the event loop of the thread that owns
// this object: libcurl's multi interface, woken by socket notifiers and one timer. Starting a
// request returns at once, and its end is reported from the event loop, so no exchange ever
// holds the window, and each runs on a connection of its own.
class CameraExchanges : public QObject {
public:
    using Id = uint64_t;
    struct Result {
        Id id = 0;
        CameraOutcome outcome;
        int32_t stored = 0; // body bytes of a 200 answer that came whole
    };
    using Done = std::function<void(const Result&)>;
    // What a request is for; a refused login is told differently for each.
    enum class Purpose { Command, Click, Picture };
    using Refused = std::function<void(Purpose)>;

    CameraExchanges();
    // Ends every request still running; their `done` is not called.
    ~CameraExchanges() override;
    CameraExchanges(const CameraExchanges&) = delete;
    CameraExchanges& operator=(const CameraExchanges&) = delete;

    // GET http://host/path with the camera's header lines; with `body` set, a 200 answer's body
    // goes there (kCameraBodyCapacity bytes at most). `done` runs later from the event loop,
    // never from inside start(), also for a request that could not even begin.
    Id start(const std::string& host, const std::string& path, char* body, long timeoutMs, Purpose purpose, Done done);
    // Ends a request at once; its `done` is not called. An unknown or ended id does nothing.
    void abort(Id id);
    int running() const { return static_cast<int>(exchanges_.size()); }

    // The login every request started from now on answers the camera's challenge with; the
    // password is taken over and the caller's buffer wiped. An empty user name: no login.
    void setLogin(const std::string& user, std::string& password);
    const CameraLogin& login() const { return login_; }
    // Runs, before the request's own `done`, for every answer 401 or 403 to a request that had
    // the present login: the camera refused the user name or password.
    void onLoginRefused(Refused refused) { refused_ = std::move(refused); }

private:
    struct Exchange;
    struct Watch;

    static int onSocket(void* easy, int socket, int what, void* self, void* socketData);
    static int onTimer(void* multi, long timeoutMs, void* self);
    void act(int socket, int events);
    void finishEnded();
    void finishLater(Id id, CameraOutcome outcome);

    CURLM* multi_ = nullptr;
    CameraLogin login_;
    uint64_t loginNumber_ = 1; // counts the logins set
    Refused refused_;
    QTimer timer_;
    std::map<int, std::unique_ptr<Watch>> watches_;
    std::map<Id, std::unique_ptr<Exchange>> exchanges_;
    Id nextId_ = 1;
};
