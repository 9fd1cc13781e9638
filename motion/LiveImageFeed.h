#pragma once

#include "motion/CameraExchanges.h"

#include <cstdint>
#include <string>

struct LiveImageBuffer;

// The live picture: one fetch at a time on the camera exchanges, into the buffer that is not
// being drawn, so that the picture being drawn stays whole. Its end ends a running fetch at once.
class LiveImageFeed {
public:
    struct Picture {
        const char* bytes = nullptr;
        int32_t size = 0;   // 0: the last fetch failed or none has completed; nothing to draw
        bool fresh = false; // completed since the last call: not drawn before
    };

    LiveImageFeed(LiveImageBuffer& buffer, CameraExchanges& exchanges) : buffer_(buffer), exchanges_(exchanges) {}
    ~LiveImageFeed();
    LiveImageFeed(const LiveImageFeed&) = delete;
    LiveImageFeed& operator=(const LiveImageFeed&) = delete;

    // The picture of the last completed fetch.
    Picture lastCompleted();
    // Starts a fetch of http://host/path unless one runs or the host is empty.
    bool startNextFetch(const std::string& host, const std::string& path);
    // Whether the window could draw a fresh picture: bytes that are no picture (garbage, cut
    // short, too large) fail the live picture in the journal as a failed fetch does.
    void freshPictureDrawn(bool drawn);

private:
    void completed(const CameraExchanges::Result& result);
    void report(bool failing, const std::string& why);

    LiveImageBuffer& buffer_;
    CameraExchanges& exchanges_;
    CameraExchanges::Id fetch_ = 0; // the running fetch, 0 for none
    int shown_ = 0;                 // the buffer of the last completed picture; fetches write the other one
    int32_t shownSize_ = 0;
    bool failing_ = false; // the live picture is failing; the journal heard of it
    bool fresh_ = false;   // a completed fetch that lastCompleted() has not handed out yet
};
