#include "motion/CameraExchanges.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/support/RawHttpServer.h"
#include "tests/support/WaitUntil.h"

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
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareLoopbackCameraRequests()); }

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
        ExchangeOnce("127.0.0.1", path, nullptr);
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
    EXPECT_EQ(StoredBy("127.0.0.1", kRight, nullptr), 0);
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
    EXPECT_EQ(StoredBy("127.0.0.1", "record/current.jpg", body_.data()), 0);
    ASSERT_TRUE(notFound.waitForAnswered(1, 5s));
    EXPECT_LT(notFound.requests()[0].responseBytesSent, large.size()) << "the 404 body was read";

    RawHttpServer ok([&](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 200 OK", large); });
    Use(ok);
    EXPECT_EQ(StoredBy("127.0.0.1", "record/current.jpg", nullptr), 0);
    ASSERT_TRUE(ok.waitForAnswered(1, 5s));
    for (const RawHttpRequest& request : ok.requests())
        EXPECT_LT(request.responseBytesSent, large.size()) << "an unwanted body was read";

    RawHttpServer small([](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.0 200 OK", "JFIF"); });
    Use(small);
    ASSERT_EQ(StoredBy("127.0.0.1", "record/current.jpg", body_.data()), 4);
    EXPECT_EQ(std::string(body_.data(), 4), "JFIF");
}

TEST_F(CameraRequestTest, ALargeBodyIsStoredUpToTheLimitAndTheRestDropped)
{
    const std::string image = Pattern(600000);
    RawHttpServer server([&](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 200 OK", image); });
    Use(server);
    const int32_t stored = StoredBy("127.0.0.1", "record/current.jpg", body_.data());
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
    const int32_t stored = StoredBy("127.0.0.1", "record/current.jpg", body_.data());
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
    ExchangeOnce("127.0.0.1", "x\r\nX-Injected: 1\r\n\r\nGET /y", nullptr);
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
        EXPECT_EQ(StoredBy(host, kRight, body_.data()), 0) << host;
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(CameraRequestTest, AServerThatNeverAnswersIsLeftAfterTheExchangeTimeOut)
{
    RawHttpServer server([](const RawHttpRequest&) { return RawHttpResponse::silence(); });
    Use(server);
    const auto start = Clock::now();
    const auto ended = ExchangeOnce("127.0.0.1", "record/current.jpg", body_.data());
    const auto elapsed = Clock::now() - start;
    ASSERT_TRUE(ended);
    EXPECT_EQ(DescribeCameraOutcome(ended->outcome), "time-out");
    EXPECT_EQ(ended->stored, 0);
    EXPECT_GE(elapsed, 4s);
    EXPECT_LT(elapsed, 8s);
}

TEST_F(CameraRequestTest, ACameraThatDoesNotAcceptIsLeftAfterTheConnectTimeOut)
{
    FullListener listener;
    setenv("PANTIRO_CAMERA_PORT", std::to_string(listener.port).c_str(), 1);
    const auto start = Clock::now();
    const auto ended = ExchangeOnce("127.0.0.1", kRight, nullptr);
    const auto elapsed = Clock::now() - start;
    ASSERT_TRUE(ended);
    EXPECT_FALSE(ended->outcome.taken());
    EXPECT_GE(elapsed, 1500ms);
    EXPECT_LT(elapsed, 4s);
}

// Requests run side by side on the event loop, each on a connection of its own: start() returns
// at once, a quick answer is not held up by a slow one, each body lands in its own buffer, and
// an abort ends its request at once without calling its handler.
TEST_F(CameraRequestTest, ExchangesRunSideBySideAndAnAbortEndsOneAtOnce)
{
    RawHttpServer server([&](const RawHttpRequest& request) {
        const std::string line = request.requestLine();
        if (line.find("silent") != std::string::npos)
            return RawHttpResponse::silence();
        if (line.find("slow") != std::string::npos)
            std::this_thread::sleep_for(1500ms);
        return RawHttpResponse::answer("HTTP/1.1 200 OK", line);
    });
    Use(server);
    CameraExchanges exchanges;
    std::vector<char> slowBody(kCameraBodyCapacity);
    std::vector<std::string> ended;
    const auto record = [&](const char* name) {
        return [&ended, name](const CameraExchanges::Result& result) {
            ended.push_back(std::string(name) + " " + DescribeCameraOutcome(result.outcome) + " "
                            + std::to_string(result.stored));
        };
    };
    const auto start = Clock::now();
    exchanges.start("127.0.0.1", "slow.jpg", slowBody.data(), kCameraExchangeTimeoutMs,
                    CameraExchanges::Purpose::Picture, record("slow"));
    const CameraExchanges::Id silent =
        exchanges.start("127.0.0.1", "silent.jpg", body_.data(), kCameraExchangeTimeoutMs,
                        CameraExchanges::Purpose::Picture, record("silent"));
    exchanges.start("127.0.0.1", "quick.jpg", body_.data(), kCameraExchangeTimeoutMs, CameraExchanges::Purpose::Picture,
                    record("quick"));
    exchanges.start("0.0.0.0", "none.jpg", nullptr, kCameraExchangeTimeoutMs, CameraExchanges::Purpose::Picture,
                    record("none"));
    EXPECT_LT(Clock::now() - start, 50ms) << "starting waits for nothing";
    EXPECT_TRUE(ended.empty()) << "no handler runs inside start()";
    EXPECT_EQ(exchanges.running(), 4);

    WAIT_UNTIL(ended.size() == 2);
    EXPECT_EQ(ended, (std::vector<std::string>{"none no camera address 0", "quick success 23"}));
    EXPECT_EQ(std::string(body_.data(), 23), "GET /quick.jpg HTTP/1.1");
    WAIT_UNTIL(server.requests().size() == 3);
    exchanges.abort(silent);
    WAIT_UNTIL(ended.size() == 3);
    EXPECT_EQ(ended.back(), "slow success 22");
    EXPECT_EQ(std::string(slowBody.data(), 22), "GET /slow.jpg HTTP/1.1");
    EXPECT_EQ(exchanges.running(), 0);
    EXPECT_LT(Clock::now() - start, 3s) << "the silent request was left at its abort";
}
