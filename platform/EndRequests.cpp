#include "platform/EndRequests.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe from the signal handler to the event loop; one per process.
int signalPipe[2] = {-1, -1};

void WriteSignal(int number)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(number);
    // A full pipe already holds a request to end; nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

EndRequests::EndRequests(std::function<void()> end) : end_(std::move(end))
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &EndRequests::takeSignals);
        struct sigaction action {};
        action.sa_handler = WriteSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int number : kEndSignals) {
            struct sigaction inherited {};
            if (::sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
                continue;
            if (::sigaction(number, &action, nullptr) == 0)
                taken_.push_back(number);
        }
    }
    // The session manager's "die" reaches the application as a request to quit; the program's own
    // quit after a confirmed exit passes here too and finds the end done.
    qApp->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &EndRequests::requestEnd);
}

EndRequests::~EndRequests()
{
    if (!notifier_)
        return;
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (const int number : taken_)
        ::sigaction(number, &standard, nullptr);
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void EndRequests::takeSignals()
{
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    requestEnd();
}

bool EndRequests::eventFilter(QObject* watched, QEvent* event)
{
    // Once the end is under way, a request to quit is the end's own.
    if (watched != qApp || event->type() != QEvent::Quit || requested_)
        return false;
    requestEnd();
    return true;
}

void EndRequests::requestEnd()
{
    // The end runs once; later requests find it under way.
    if (std::exchange(requested_, true))
        return;
    end_();
}
