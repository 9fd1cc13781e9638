#include "tests/support/RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cctype>

namespace {

constexpr size_t kMaxHead = 65536;
const std::string kEndOfHead = "\r\n\r\n";

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

} // namespace

std::string RawHttpRequest::requestLine() const
{
    return head.substr(0, head.find("\r\n"));
}

std::vector<std::string> RawHttpRequest::headerLines() const
{
    std::vector<std::string> lines;
    size_t start = head.find("\r\n");
    while (start != std::string::npos) {
        start += 2;
        const size_t end = head.find("\r\n", start);
        if (end == std::string::npos || end == start)
            break;
        lines.push_back(head.substr(start, end - start));
        start = end;
    }
    return lines;
}

RawHttpResponse RawHttpResponse::answer(std::string statusLine, std::string body, std::vector<std::string> headers)
{
    RawHttpResponse response;
    response.statusLine = std::move(statusLine);
    response.headers = std::move(headers);
    response.body = std::move(body);
    return response;
}

RawHttpResponse RawHttpResponse::silence()
{
    RawHttpResponse response;
    response.silent = true;
    return response;
}

std::string RawHttpResponse::bytes() const
{
    std::string text = statusLine + "\r\n";
    bool framed = false;
    for (const std::string& header : headers) {
        text += header + "\r\n";
        framed = framed || StartsWithIgnoringCase(header, "Content-Length:")
                 || StartsWithIgnoringCase(header, "Transfer-Encoding:");
    }
    if (!framed)
        text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return text + "\r\n" + body;
}

int ListenOnLoopback(int backlog, uint16_t& port)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (listener < 0 || ::bind(listener, generic, length) != 0 || ::listen(listener, backlog) != 0
        || ::getsockname(listener, generic, &length) != 0) {
        if (listener >= 0)
            ::close(listener);
        return -1;
    }
    port = ntohs(address.sin_port);
    return listener;
}

RawHttpServer::RawHttpServer(Responder responder) : responder_(std::move(responder))
{
    listener_ = ListenOnLoopback(64, port_);
    if (listener_ < 0)
        return;
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

RawHttpServer::~RawHttpServer()
{
    stop();
}

void RawHttpServer::stop()
{
    if (listener_ < 0)
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const int connection : connections_)
            ::shutdown(connection, SHUT_RDWR);
    }
    changed_.notify_all();
    ::shutdown(listener_, SHUT_RDWR);
    acceptThread_.join();
    ::close(listener_);
    listener_ = -1;
    for (auto& [number, thread] : connectionThreads_)
        thread.join();
}

void RawHttpServer::joinFinished()
{
    std::vector<std::thread> ended;
    {
        std::lock_guard lock(mutex_);
        for (const int number : finished_) {
            ended.push_back(std::move(connectionThreads_[number]));
            connectionThreads_.erase(number);
        }
        finished_.clear();
    }
    for (std::thread& thread : ended)
        thread.join();
}

void RawHttpServer::acceptLoop()
{
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            return;
        joinFinished();
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(connection);
            return;
        }
        connections_.insert(connection);
        const int number = connectionCount_++;
        connectionThreads_[number] = std::thread([this, connection, number] { serve(connection, number); });
    }
}

void RawHttpServer::serve(int connection, int number)
{
    RawHttpRequest request;
    std::array<char, 4096> chunk{};
    while (request.head.find(kEndOfHead) == std::string::npos && request.head.size() < kMaxHead) {
        const ssize_t got = ::recv(connection, chunk.data(), chunk.size(), 0);
        if (got <= 0)
            break;
        request.head.append(chunk.data(), static_cast<size_t>(got));
    }
    request.received = std::chrono::steady_clock::now();
    const size_t end = request.head.find(kEndOfHead);
    if (end != std::string::npos) {
        request.head.resize(end + kEndOfHead.size());
        // Recorded as it arrives, so that a test sees a request its responder still holds.
        size_t index = 0;
        {
            std::lock_guard lock(mutex_);
            index = requests_.size();
            requests_.push_back(request);
        }
        changed_.notify_all();
        const RawHttpResponse response = responder_ ? responder_(request) : RawHttpResponse{};
        size_t sent = 0;
        if (response.silent) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_; });
        } else {
            const std::string bytes = response.bytes();
            while (sent < bytes.size()) {
                const ssize_t put = ::send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                if (put <= 0)
                    break;
                sent += static_cast<size_t>(put);
            }
            ::shutdown(connection, SHUT_WR);
        }
        {
            std::lock_guard lock(mutex_);
            requests_[index].responseBytesSent = sent;
            requests_[index].answered = true;
        }
        changed_.notify_all();
    }
    std::lock_guard lock(mutex_);
    connections_.erase(connection);
    ::close(connection);
    finished_.push_back(number);
}

std::vector<RawHttpRequest> RawHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

bool RawHttpServer::waitForAnswered(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        size_t answered = 0;
        for (const RawHttpRequest& request : requests_)
            answered += request.answered ? 1 : 0;
        return answered >= count;
    });
}
