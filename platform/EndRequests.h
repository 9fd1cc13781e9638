#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// The requests to end that the program cannot refuse: SIGTERM (a service stop, a logout),
// SIGINT (Ctrl-C in the terminal), SIGHUP (the terminal went away) and the desktop session
// ending. Each one calls `end` once, on the GUI thread, from the event loop: the signal handler
// only writes the signal's number into a pipe, which is all it may safely do.
class EndRequests : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(std::function<void()> end);
    ~EndRequests() override;

private:
    void takeSignals();
    void requestEnd();

    std::function<void()> end_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool requested_ = false;
};
