#pragma once

#include "motion/CameraOutcome.h"
#include "motion/CameraRequestAbort.h"

#include <functional>
#include <string>
#include <thread>

struct LiveImageBuffer;

// Fetches the live picture on a thread of its own, one fetch at a time. Its end ends a running
// fetch at once, so that the program never waits for a slow camera nor leaves a thread behind.
class ImageFetchWorker {
public:
    using ThreadStarter = std::function<std::thread(std::function<void()>)>;

    static std::thread startThread(std::function<void()> routine) { return std::thread(std::move(routine)); }

    explicit ImageFetchWorker(ThreadStarter starter = startThread) : starter_(std::move(starter)) {}
    ~ImageFetchWorker();
    ImageFetchWorker(const ImageFetchWorker&) = delete;
    ImageFetchWorker& operator=(const ImageFetchWorker&) = delete;

    // Unless a fetch runs: sets `busy` and fetches http://host/path into `target`, storing the
    // count in `byteCount` and then clearing `busy`. The host and path are the fetch's own copies.
    // False when a fetch runs or no thread could be started (then `busy` is clear again).
    bool start(LiveImageBuffer& buffer, char* target, std::string host, std::string path);
    // How the last fetch ended; read only after `busy` was seen clear.
    const CameraOutcome& lastOutcome() const { return outcome_; }

private:
    ThreadStarter starter_;
    std::thread thread_;
    CameraRequestAbort abort_;
    CameraOutcome outcome_; // written by the fetch before it clears `busy`
};
