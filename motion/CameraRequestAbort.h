#pragma once

#include <atomic>
#include <mutex>

// Ends a running camera request from another thread at once. The request checks the flag while
// it waits; abort() also shuts its socket down, so that a wait on a silent camera ends now
// instead of at the request's next look at the flag.
class CameraRequestAbort {
public:
    void abort();
    bool aborted() const { return aborted_.load(std::memory_order_acquire); }

    // The request's socket from its opening to its closing.
    void attach(int socket);
    void detach(int socket);

private:
    std::atomic<bool> aborted_{false};
    std::mutex mutex_;  // keeps a socket from being closed and reused while abort() shuts it
    int socket_ = -1;
};
