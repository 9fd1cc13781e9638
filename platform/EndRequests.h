#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

// The requests to end that the program cannot refuse: SIGTERM (a service stop, a logout),
// SIGINT (Ctrl-C in the terminal), SIGHUP (the terminal went away) and the desktop session
// ending. Each one calls `end` once, on the GUI thread, from the event loop: the signal handler
// only writes the signal's number into a pipe, which is all it may safely do.
//
// A signal the program was started with ignored (`nohup` ignores SIGHUP) stays ignored. The
// session has ended when the application is told to quit (the session manager's "die"), not at
// its request to save data, which also comes for a save point or a logout still to be cancelled.
class EndRequests : public QObject {
    Q_OBJECT
public:
    explicit EndRequests(std::function<void()> end);
    ~EndRequests() override;

private:
    void takeSignals();
    void requestEnd();
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::function<void()> end_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> taken_; // the signals whose handler is ours
    bool requested_ = false;
};
