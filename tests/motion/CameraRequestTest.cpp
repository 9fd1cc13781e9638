#include "motion/CameraRequest.h"
#include "motion/CameraRequestAbort.h"
#include "tests/support/RawHttpServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kRight = "control/rcontrol?action=putrs232&rs232outtext=6&dummy=24324000000";

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

class CameraRequestTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(InitCameraRequests());
        for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(proxy);
    }

    // Points the camera port at `server`.
    static void Use(const RawHttpServer& server)
    {
        ASSERT_TRUE(server.isListening());
        setenv("PANTIRO_CAMERA_PORT", std::to_string(server.port()).c_str(), 1);
    }

    static std::string RequestLineFor(const std::string& path)
    {
        RawHttpServer server;
        Use(server);
        SendCameraRequest("127.0.0.1", path, nullptr, false);
        const std::vector<RawHttpRequest> requests = server.requests();
        return requests.size() == 1 ? requests.front().requestLine() : std::string("no single request");
    }

    std::vector<char> body_ = std::vector<char>(kCameraBodyCapacity);
};

// A listener whose accept queue is full: a further connection attempt is never answered.
class FullListener {
public:
    FullListener()
    {
        listener_ = ListenOnLoopback(0, port);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~FullListener()
    {
        ::close(filler_);
        ::close(listener_);
    }
    uint16_t port = 0;

private:
    int listener_ = -1;
    int filler_ = -1;
};

} // namespace

TEST_F(CameraRequestTest, SendsTheRequestLineAndTheCameraHeaderLinesOnceInOrder)
{
    RawHttpServer server;
    Use(server);
    EXPECT_EQ(SendCameraRequest("127.0.0.1", kRight, nullptr, false), 0);
    const std::vector<RawHttpRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head, "GET /" + kRight
                                    + " HTTP/1.1\r\n"
                                      "Host: 127.0.0.1:"
                                    + std::to_string(server.port())
                                    + "\r\n"
                                      "User-Agent: Mozilla/4.0\r\n"
                                      "Accept: */*\r\n"
                                      "Accept-Language: de\r\n"
                                      "Accept-Encoding: gzip, deflate\r\n"
                                      "If-Modified-Since: Wed, 30 Nov 2005 16:29:27 GMT\r\n"
                                      "Connection: Keep-Alive\r\n"
                                      "\r\n");
}

TEST_F(CameraRequestTest, OnlyTheBodyOfA200AnswerIsStoredAndOnlyWhenWanted)
{
    const std::string large(8 << 20, 'x'); // more than the loopback buffers take before a reset
    RawHttpServer notFound(
        [&](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 404 Not Found", large); });
    Use(notFound);
    EXPECT_EQ(SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true), 0);
    ASSERT_TRUE(notFound.waitForAnswered(1, 5s));
    EXPECT_LT(notFound.requests()[0].responseBytesSent, large.size()) << "the 404 body was read";

    RawHttpServer ok([&](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 200 OK", large); });
    Use(ok);
    EXPECT_EQ(SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), false), 0);
    EXPECT_EQ(SendCameraRequest("127.0.0.1", "record/current.jpg", nullptr, true), 0);
    ASSERT_TRUE(ok.waitForAnswered(2, 5s));
    for (const RawHttpRequest& request : ok.requests())
        EXPECT_LT(request.responseBytesSent, large.size()) << "an unwanted body was read";

    RawHttpServer small([](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.0 200 OK", "JFIF"); });
    Use(small);
    ASSERT_EQ(SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true), 4);
    EXPECT_EQ(std::string(body_.data(), 4), "JFIF");
}

TEST_F(CameraRequestTest, ALargeBodyIsStoredUpToTheLimitAndTheRestDropped)
{
    const std::string image = Pattern(600000);
    RawHttpServer server([&](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 200 OK", image); });
    Use(server);
    const int32_t stored = SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true);
    EXPECT_GE(stored, kCameraBodyStoreLimit);
    EXPECT_LE(stored, kCameraBodyCapacity);
    EXPECT_EQ(std::string(body_.data(), static_cast<size_t>(std::max(stored, 0))),
              image.substr(0, static_cast<size_t>(std::max(stored, 0))));
    ASSERT_TRUE(server.waitForAnswered(1, 5s));
    EXPECT_EQ(server.requests()[0].responseBytesSent, RawHttpResponse::answer("HTTP/1.1 200 OK", image).bytes().size())
        << "the rest of the body is read, not left on the line";
}

TEST_F(CameraRequestTest, AnEncodedBodyIsStoredAsSent)
{
    const std::string gzip = {'\x1f', '\x8b', '\x08', '\x00', '\x00', '\x00', '\x00', '\x00', '\x00', '\x03',
                              '\x0b', '\x48', '\xcc', '\x2b', '\xc9', '\x2c', '\xca', '\xe7', '\x02', '\x00',
                              '\x1a', '\xd9', '\x82', '\x30', '\x08', '\x00', '\x00', '\x00'};
    RawHttpServer server([&](const RawHttpRequest&) {
        return RawHttpResponse::answer("HTTP/1.1 200 OK", gzip, {"Content-Encoding: gzip"});
    });
    Use(server);
    const int32_t stored = SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true);
    ASSERT_EQ(stored, static_cast<int32_t>(gzip.size()));
    EXPECT_EQ(std::string(body_.data(), gzip.size()), gzip);
}

TEST_F(CameraRequestTest, PathsGoOutWholeAndNeverBreakTheRequestLine)
{
    std::string longest = "control/rcontrol?action=putrs232&rs232outtext=8&dummy=";
    longest.resize(255, '7');
    EXPECT_EQ(RequestLineFor(longest), "GET /" + longest + " HTTP/1.1");
    EXPECT_EQ(RequestLineFor(""), "GET / HTTP/1.1");
    EXPECT_EQ(RequestLineFor("record/my picture.jpg"), "GET /record/my%20picture.jpg HTTP/1.1");
    EXPECT_EQ(RequestLineFor("bild/\xc3\xa4.jpg?a=%41"), "GET /bild/%c3%a4.jpg?a=%41 HTTP/1.1");
    EXPECT_EQ(RequestLineFor("control?text=a#b&c=d"), "GET /control?text=a%23b&c=d HTTP/1.1");
    EXPECT_EQ(RequestLineFor("x/../y?q=1?2"), "GET /x/../y?q=1?2 HTTP/1.1");

    RawHttpServer server;
    Use(server);
    SendCameraRequest("127.0.0.1", "x\r\nX-Injected: 1\r\n\r\nGET /y", nullptr, false);
    const std::vector<RawHttpRequest> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine(), "GET /x%0d%0aX-Injected:%201%0d%0a%0d%0aGET%20/y HTTP/1.1");
    EXPECT_EQ(requests[0].headerLines().size(), 7u);
}

TEST_F(CameraRequestTest, NoCameraAddressFailsAtOnceWithoutContactingAnything)
{
    RawHttpServer server;
    Use(server);
    for (const char* host : {"", "0.0.0.0", "127.0.0.1/evil", "127.0.0.1 "})
        EXPECT_EQ(SendCameraRequest(host, kRight, body_.data(), true), 0) << host;
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(CameraRequestTest, AServerThatNeverAnswersIsLeftAfterTheExchangeTimeOut)
{
    RawHttpServer server([](const RawHttpRequest&) { return RawHttpResponse::silence(); });
    Use(server);
    const auto start = Clock::now();
    EXPECT_EQ(SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true), 0);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 4s);
    EXPECT_LT(elapsed, 8s);
}

TEST_F(CameraRequestTest, ACameraThatDoesNotAcceptIsLeftAfterTheConnectTimeOut)
{
    FullListener listener;
    setenv("PANTIRO_CAMERA_PORT", std::to_string(listener.port).c_str(), 1);
    const auto start = Clock::now();
    EXPECT_EQ(SendCameraRequest("127.0.0.1", kRight, nullptr, false), 0);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 1500ms);
    EXPECT_LT(elapsed, 4s);
}

TEST_F(CameraRequestTest, TwoThreadsAtOnceEachGetTheirOwnBody)
{
    // The first two requests are answered only once both are in, so the calls overlap.
    std::atomic<int> arrived{0};
    std::atomic<bool> overlapped{false};
    RawHttpServer server([&](const RawHttpRequest& request) {
        if (++arrived <= 2) {
            const auto deadline = Clock::now() + 3s;
            while (arrived < 2 && Clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            overlapped = overlapped || arrived >= 2;
        }
        return RawHttpResponse::answer("HTTP/1.1 200 OK", request.requestLine());
    });
    Use(server);
    auto fetchAll = [](const std::string& name, int* failures) {
        std::vector<char> body(kCameraBodyCapacity);
        for (int i = 0; i < 10; ++i) {
            const std::string path = name + "/" + std::to_string(i) + ".jpg";
            const std::string expected = "GET /" + path + " HTTP/1.1";
            const int32_t stored = SendCameraRequest("127.0.0.1", path, body.data(), true);
            if (std::string(body.data(), static_cast<size_t>(std::max(stored, 0))) != expected)
                ++*failures;
        }
    };
    int failuresA = 0;
    int failuresB = 0;
    std::thread a(fetchAll, "a", &failuresA);
    std::thread b(fetchAll, "b", &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA + failuresB, 0);
    EXPECT_TRUE(overlapped);
}

// A silent camera is left as soon as the abort comes (the socket is shut down); one that does
// not even accept is left at the request's next look at the flag, within a second.
TEST_F(CameraRequestTest, AnAbortEndsARunningRequestPromptly)
{
    RawHttpServer silent([](const RawHttpRequest&) { return RawHttpResponse::silence(); });
    FullListener unaccepting;
    const struct {
        const char* camera;
        uint16_t port;
        std::chrono::milliseconds longest;
    } cases[] = {{"silent", silent.port(), 300ms}, {"not accepting", unaccepting.port, 1300ms}};
    for (const auto& c : cases) {
        setenv("PANTIRO_CAMERA_PORT", std::to_string(c.port).c_str(), 1);
        CameraRequestAbort abort;
        std::atomic<int32_t> result{-1};
        std::thread request([&] { result = SendCameraRequest("127.0.0.1", "record/current.jpg", body_.data(), true, &abort); });
        std::this_thread::sleep_for(300ms);
        const auto start = Clock::now();
        abort.abort();
        request.join();
        EXPECT_LT(Clock::now() - start, c.longest) << c.camera;
        EXPECT_EQ(result, 0) << c.camera;
    }
}
