#include "motion/CameraHandle.h"

#include "motion/CameraLogin.h"
#include "motion/CameraRequest.h"
#include "motion/CameraUrl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr long kConnectTimeoutMs = 2000;
constexpr long kDefaultPort = 80;

// The camera's header lines, each exactly once and in this order.
constexpr const char* kHeaderLines[] = {
    "Accept: */*",
    "Accept-Language: de",
    "Accept-Encoding: gzip, deflate",
    "If-Modified-Since: Wed, 30 Nov 2005 16:29:27 GMT",
    "Connection: Keep-Alive",
};

long CameraPort()
{
    const char* text = std::getenv("PANTIRO_CAMERA_PORT");
    if (text == nullptr || *text == '\0')
        return kDefaultPort;
    char* end = nullptr;
    const long port = std::strtol(text, &end, 10);
    return *end == '\0' && port > 0 && port <= 65535 ? port : kDefaultPort;
}

CURLU* BuildUrl(const std::string& host, const std::string& path)
{
    CURLU* url = curl_url();
    if (url == nullptr)
        return nullptr;
    const CameraUrlTarget target = EncodeCameraTarget(path);
    const std::string port = std::to_string(CameraPort());
    const bool built = curl_url_set(url, CURLUPART_SCHEME, "http", 0) == CURLUE_OK
                       && curl_url_set(url, CURLUPART_HOST, host.c_str(), 0) == CURLUE_OK
                       && curl_url_set(url, CURLUPART_PORT, port.c_str(), 0) == CURLUE_OK
                       && curl_url_set(url, CURLUPART_PATH, target.path.c_str(), 0) == CURLUE_OK
                       && (!target.query || curl_url_set(url, CURLUPART_QUERY, target.query->c_str(), 0) == CURLUE_OK);
    if (!built) {
        curl_url_cleanup(url);
        return nullptr;
    }
    return url;
}

curl_slist* BuildHeaders()
{
    curl_slist* list = nullptr;
    for (const char* line : kHeaderLines) {
        curl_slist* longer = curl_slist_append(list, line);
        if (longer == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = longer;
    }
    return list;
}

// Only Basic and Digest: libcurl then sends the request without a login first and answers the
// challenge it gets with the one the camera asked for, Digest where both are offered. Never NTLM
// and never the login in the URL, where it would show in logs and the request line.
bool SetLogin(CURL* h, const CameraLogin& login)
{
    if (!login.active())
        return true;
    return curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<unsigned long>(CURLAUTH_BASIC | CURLAUTH_DIGEST))
               == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_USERNAME, login.user().c_str()) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_PASSWORD, login.password().c_str()) == CURLE_OK;
}

} // namespace

std::unique_ptr<CameraHandle> CameraHandle::prepare(const std::string& host, const std::string& path, char* body,
                                                    long timeoutMs, const CameraLogin& login)
{
    std::unique_ptr<CameraHandle> handle(new CameraHandle);
    handle->body_ = body;
    handle->url_ = BuildUrl(host, path);
    handle->headers_ = BuildHeaders();
    handle->easy_ = curl_easy_init();
    CURL* h = handle->easy_;
    if (handle->url_ == nullptr || handle->headers_ == nullptr || h == nullptr)
        return nullptr;
    const bool configured =
        curl_easy_setopt(h, CURLOPT_CURLU, handle->url_) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK
        // Every request on a connection of its own, as a fresh session would have it: a stop
        // never queues behind an unanswered command on a shared connection.
        && curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(kConnectTimeoutMs, timeoutMs)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/4.0") == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTPHEADER, handle->headers_) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_BUFFERSIZE, static_cast<long>(kCameraBodyPieceSize)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, storeBody) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_WRITEDATA, handle.get()) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_PRIVATE, handle.get()) == CURLE_OK && SetLogin(h, login);
    return configured ? std::move(handle) : nullptr;
}

CameraHandle::~CameraHandle()
{
    curl_easy_cleanup(easy_);
    curl_url_cleanup(url_);
    curl_slist_free_all(headers_);
}

// Stores the body in pieces of at most kCameraBodyPieceSize, appended only while the total
// before the piece is below kCameraBodyStoreLimit; later pieces are read and dropped. Any
// answer but 200, or a body nobody wants, ends the transfer without reading it.
size_t CameraHandle::storeBody(char* data, size_t size, size_t count, void* self)
{
    auto* handle = static_cast<CameraHandle*>(self);
    long status = 0;
    curl_easy_getinfo(handle->easy_, CURLINFO_RESPONSE_CODE, &status);
    if (handle->body_ == nullptr || status != 200)
        return 0;
    const size_t total = size * count;
    for (size_t offset = 0; offset < total; offset += kCameraBodyPieceSize) {
        const size_t piece = std::min<size_t>(kCameraBodyPieceSize, total - offset);
        if (handle->stored_ < kCameraBodyStoreLimit) {
            std::memcpy(handle->body_ + handle->stored_, data + offset, piece);
            handle->stored_ += static_cast<int32_t>(piece);
        }
    }
    return total;
}

CameraOutcome CameraHandle::outcome(CURLcode result) const
{
    // storeBody refuses the body of an answer nobody reads, which libcurl calls a write error.
    if (result == CURLE_OK || result == CURLE_WRITE_ERROR) {
        long status = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
        return {CameraOutcome::Kind::Answered, status, {}};
    }
    if (result == CURLE_OPERATION_TIMEDOUT)
        return {CameraOutcome::Kind::TimedOut, 0, {}};
    return {CameraOutcome::Kind::Failed, 0, curl_easy_strerror(result)};
}

int32_t CameraHandle::stored(CURLcode result) const
{
    return body_ != nullptr && result == CURLE_OK ? stored_ : 0;
}
