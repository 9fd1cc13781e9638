#include "motion/CameraRequest.h"

#include "motion/CameraRequestAbort.h"
#include "motion/CameraUrl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

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

struct BodySink {
    CURL* handle;
    char* body; // null: the body is not wanted
    int32_t stored = 0;
};

// Stores the body in pieces of at most kCameraBodyPieceSize, appended only while the total
// before the piece is below kCameraBodyStoreLimit; later pieces are read and dropped. Any
// answer but 200, or a body nobody wants, ends the transfer without reading it.
size_t StoreBody(char* data, size_t size, size_t count, void* userData)
{
    auto* sink = static_cast<BodySink*>(userData);
    long status = 0;
    curl_easy_getinfo(sink->handle, CURLINFO_RESPONSE_CODE, &status);
    if (sink->body == nullptr || status != 200)
        return 0;
    const size_t total = size * count;
    for (size_t offset = 0; offset < total; offset += kCameraBodyPieceSize) {
        const size_t piece = std::min<size_t>(kCameraBodyPieceSize, total - offset);
        if (sink->stored < kCameraBodyStoreLimit) {
            std::memcpy(sink->body + sink->stored, data + offset, piece);
            sink->stored += static_cast<int32_t>(piece);
        }
    }
    return total;
}

curl_socket_t OpenAbortableSocket(void* abort, curlsocktype, curl_sockaddr* address)
{
    const int socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket < 0)
        return CURL_SOCKET_BAD;
    static_cast<CameraRequestAbort*>(abort)->attach(socket);
    return socket;
}

int CloseAbortableSocket(void* abort, curl_socket_t socket)
{
    static_cast<CameraRequestAbort*>(abort)->detach(socket);
    return ::close(socket);
}

// libcurl asks at least once a second, also while the camera is silent.
int StopWhenAborted(void* abort, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const CameraRequestAbort*>(abort)->aborted() ? 1 : 0;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

template <typename T> using CurlPtr = std::unique_ptr<T, CurlDeleter>;

CurlPtr<CURLU> BuildUrl(const std::string& host, const std::string& path)
{
    CurlPtr<CURLU> url(curl_url());
    if (!url)
        return nullptr;
    const CameraUrlTarget target = EncodeCameraTarget(path);
    const std::string port = std::to_string(CameraPort());
    if (curl_url_set(url.get(), CURLUPART_SCHEME, "http", 0) != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_PORT, port.c_str(), 0) != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_PATH, target.path.c_str(), 0) != CURLUE_OK)
        return nullptr;
    if (target.query && curl_url_set(url.get(), CURLUPART_QUERY, target.query->c_str(), 0) != CURLUE_OK)
        return nullptr;
    return url;
}

CurlPtr<curl_slist> BuildHeaders()
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
    return CurlPtr<curl_slist>(list);
}

bool SetAbortable(CURL* h, CameraRequestAbort* abort)
{
    return curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, OpenAbortableSocket) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, abort) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, CloseAbortableSocket) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, abort) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, StopWhenAborted) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_XFERINFODATA, abort) == CURLE_OK
           && curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
}

CameraOutcome Outcome(CURL* handle, CURLcode result, const CameraRequestAbort* abort)
{
    if (abort != nullptr && abort->aborted())
        return {CameraOutcome::Kind::Aborted, 0, {}};
    // StoreBody refuses the body of an answer nobody reads, which libcurl calls a write error.
    if (result == CURLE_OK || result == CURLE_WRITE_ERROR) {
        long status = 0;
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
        return {CameraOutcome::Kind::Answered, status, {}};
    }
    if (result == CURLE_OPERATION_TIMEDOUT)
        return {CameraOutcome::Kind::TimedOut, 0, {}};
    return {CameraOutcome::Kind::Failed, 0, curl_easy_strerror(result)};
}

} // namespace

bool InitCameraRequests()
{
    // Plain HTTP needs the sockets and nothing else: no TLS, no other protocol. The WIN32 flag
    // starts Windows sockets and means nothing elsewhere.
    return curl_global_init(CURL_GLOBAL_WIN32) == CURLE_OK;
}

void CleanupCameraRequests()
{
    curl_global_cleanup();
}

namespace {

struct Exchange {
    bool completed = false; // the whole answer came (or, with no body wanted, its status line)
    long status = 0;
    int32_t stored = 0;
    CameraOutcome outcome;
};

Exchange Perform(const std::string& host, const std::string& path, char* body, long timeoutMs,
                 CameraRequestAbort* abort)
{
    if (!CameraAddressSet(host))
        return {};
    CurlPtr<CURLU> url = BuildUrl(host, path);
    CurlPtr<curl_slist> headers = BuildHeaders();
    CurlPtr<CURL> handle(curl_easy_init());
    Exchange exchange;
    exchange.outcome = {CameraOutcome::Kind::Failed, 0, "the request could not be prepared"};
    if (!url || !headers || !handle)
        return exchange;

    BodySink sink{handle.get(), body};
    CURL* h = handle.get();
    const bool configured =
        curl_easy_setopt(h, CURLOPT_CURLU, url.get()) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min(kConnectTimeoutMs, timeoutMs)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/4.0") == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_BUFFERSIZE, static_cast<long>(kCameraBodyPieceSize)) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, StoreBody) == CURLE_OK
        && curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink) == CURLE_OK && (abort == nullptr || SetAbortable(h, abort));
    if (!configured)
        return exchange;
    const CURLcode result = abort != nullptr && abort->aborted() ? CURLE_ABORTED_BY_CALLBACK : curl_easy_perform(h);
    exchange.outcome = Outcome(h, result, abort);
    exchange.status = exchange.outcome.status;
    // A body nobody wants ends the transfer on purpose once the status is known.
    exchange.completed = result == CURLE_OK || (body == nullptr && result == CURLE_WRITE_ERROR);
    exchange.stored = sink.stored;
    return exchange;
}

} // namespace

bool CameraAddressSet(const std::string& host)
{
    // 0.0.0.0 would reach this machine on Linux; it is the "no camera set" address.
    return !host.empty() && host != "0.0.0.0";
}

int32_t SendCameraRequest(const std::string& host, const std::string& path, char* body, bool readBody,
                          CameraRequestAbort* abort, CameraOutcome* outcome)
{
    const Exchange exchange = Perform(host, path, readBody ? body : nullptr, kCameraExchangeTimeoutMs, abort);
    if (outcome != nullptr)
        *outcome = exchange.outcome;
    return exchange.completed && body != nullptr && readBody ? exchange.stored : 0;
}

bool SendCameraCommand(const std::string& host, const std::string& path, CameraRequestAbort* abort, long timeoutMs)
{
    const Exchange exchange = Perform(host, path, nullptr, timeoutMs, abort);
    return exchange.completed && exchange.status >= 200 && exchange.status <= 299;
}
