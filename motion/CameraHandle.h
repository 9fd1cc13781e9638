#pragma once

#include "motion/CameraOutcome.h"

class CameraLogin;

#include <curl/curl.h>

#include <cstdint>
#include <memory>
#include <string>

// One camera request prepared on a libcurl easy handle: the URL, the camera's header lines,
// the time-outs and the rule for the body. Both the blocking request and the exchanges on the
// event loop run it; it holds everything libcurl reads while the request runs.
class CameraHandle {
public:
    // Null when the request cannot be prepared. With `body` set, a 200 answer's body goes there
    // raw, kCameraBodyCapacity bytes at most; without, the transfer ends once the status is known.
    // An active `login` answers the camera's Basic or Digest challenge; it must outlive the request.
    static std::unique_ptr<CameraHandle> prepare(const std::string& host, const std::string& path, char* body,
                                                 long timeoutMs, const CameraLogin& login);
    ~CameraHandle();
    CameraHandle(const CameraHandle&) = delete;
    CameraHandle& operator=(const CameraHandle&) = delete;

    CURL* easy() const { return easy_; }
    // How the request ended, given libcurl's result.
    CameraOutcome outcome(CURLcode result) const;
    // The body bytes stored: only for a request that wanted the body and came back whole.
    int32_t stored(CURLcode result) const;

private:
    CameraHandle() = default;
    static size_t storeBody(char* data, size_t size, size_t count, void* self);

    CURL* easy_ = nullptr;
    CURLU* url_ = nullptr;
    curl_slist* headers_ = nullptr;
    char* body_ = nullptr;
    int32_t stored_ = 0;
};
