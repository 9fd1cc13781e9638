#pragma once

#include "motion/ImageFetchWorker.h"

#include <cstdint>
#include <string>

struct LiveImageBuffer;

// The GUI thread's side of the live picture: which buffer holds the last completed picture, and
// the next fetch, which goes into the other buffer so that the picture being drawn stays whole.
class LiveImageFeed {
public:
    struct Picture {
        const char* bytes = nullptr;
        int32_t size = 0;   // 0: the last fetch failed or none has completed; nothing to draw
        bool fresh = false; // completed since the last call: not drawn before
    };

    explicit LiveImageFeed(LiveImageBuffer& buffer,
                           ImageFetchWorker::ThreadStarter starter = ImageFetchWorker::startThread)
        : buffer_(buffer), worker_(std::move(starter))
    {}

    // The picture of the last completed fetch.
    Picture lastCompleted();
    // Starts a fetch of http://host/path unless one runs or the host is empty.
    bool startNextFetch(const std::string& host, const std::string& path);

private:
    void takeCompletedFetch();

    LiveImageBuffer& buffer_;
    ImageFetchWorker worker_;
    int shown_ = 0; // the buffer of the last completed picture; fetches write the other one
    int32_t shownSize_ = 0;
    bool fetchPending_ = false; // a fetch was started whose result is not taken yet
    bool failing_ = false;      // the last completed fetch failed; the journal heard of it
    bool fresh_ = false;        // a completed fetch was taken that lastCompleted() has not handed out yet
};
