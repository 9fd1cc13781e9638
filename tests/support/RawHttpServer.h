#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

// A socket listening on 127.0.0.1 at a free port (stored in `port`), or -1.
int ListenOnLoopback(int backlog, uint16_t& port);

// One request as it arrived, byte for byte.
struct RawHttpRequest {
    std::string head; // request line and header lines with their line ends, through the blank line
    std::chrono::steady_clock::time_point received;
    size_t responseBytesSent = 0; // how much of the answer the client took before it went away
    bool answered = false;        // the answer has been sent, or the client left while it was

    std::string requestLine() const;
    std::vector<std::string> headerLines() const;
};

struct RawHttpResponse {
    std::string statusLine = "HTTP/1.1 200 OK";
    std::vector<std::string> headers; // Content-Length is added unless a header frames the body
    std::string body;
    bool silent = false; // read the request and never answer

    static RawHttpResponse answer(std::string statusLine, std::string body = {}, std::vector<std::string> headers = {});
    static RawHttpResponse silence();

    std::string bytes() const;
};

// An HTTP server on 127.0.0.1 with an ephemeral port that records every request head raw and
// answers each connection's one request with what the responder returns (200 and no body
// without one). Each connection runs on a thread of its own, so clients may overlap.
class RawHttpServer {
public:
    using Responder = std::function<RawHttpResponse(const RawHttpRequest&)>;

    explicit RawHttpServer(Responder responder = {});
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    bool isListening() const { return listener_ >= 0; }
    uint16_t port() const { return port_; }

    std::vector<RawHttpRequest> requests() const;
    // Waits until `count` requests have been answered (or their client left).
    bool waitForAnswered(size_t count, std::chrono::milliseconds timeout) const;

private:
    void acceptLoop();
    void serve(int connection, int number);
    void joinFinished();
    void stop();

    Responder responder_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopping_ = false;
    std::vector<RawHttpRequest> requests_;
    std::set<int> connections_;
    std::map<int, std::thread> connectionThreads_; // by connection number
    std::vector<int> finished_;                    // connections whose thread has ended
    int connectionCount_ = 0;
};
