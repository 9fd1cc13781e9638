#include "motion/ImageFetchWorker.h"

#include "motion/CameraRequest.h"
#include "motion/LiveImageBuffer.h"

#include <system_error>

ImageFetchWorker::~ImageFetchWorker()
{
    abort_.abort();
    if (thread_.joinable())
        thread_.join();
}

bool ImageFetchWorker::start(LiveImageBuffer& buffer, char* target, std::string host, std::string path)
{
    if (buffer.busy.load(std::memory_order_acquire) != 0)
        return false;
    // Clearing `busy` was the last thing the previous fetch did, so this join does not wait.
    if (thread_.joinable())
        thread_.join();
    buffer.busy.store(1, std::memory_order_relaxed);
    try {
        thread_ = starter_([this, &buffer, target, host = std::move(host), path = std::move(path)] {
            // The count is stored as the fetch returns it, and `busy` cleared only after that: a
            // window that sees `busy` clear takes this fetch's count with its buffer.
            buffer.byteCount.store(SendCameraRequest(host, path, target, true, &abort_, &outcome_),
                                   std::memory_order_release);
            buffer.busy.store(0, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        // Without the thread nobody would clear `busy`; the next tick tries again.
        buffer.busy.store(0, std::memory_order_release);
        return false;
    }
    return true;
}
