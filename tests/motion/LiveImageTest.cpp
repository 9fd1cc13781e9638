#include "motion/CPicture.h"
#include "motion/LiveImageBuffer.h"
#include "motion/LiveImageFeed.h"
#include "tests/motion/LoopbackCamera.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kPath = "record/current.jpg";

std::string Jpeg(QColor colour, QSize size = QSize(64, 48))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes.toStdString();
}

// The colour in the middle of the picture as CPicture draws it, or black when nothing was drawn.
QColor Drawn(const LiveImageFeed::Picture& picture)
{
    QImage square(20, 20, QImage::Format_RGB32);
    square.fill(Qt::black);
    CPicture decoded;
    EXPECT_EQ(decoded.LoadFromBuffer(picture.bytes, picture.size), 1);
    QPainter painter(&square);
    decoded.Draw(&painter, square.rect());
    painter.end();
    return square.pixelColor(10, 10);
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16
           && std::abs(a.blue() - b.blue()) < 16;
}

class LiveImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(PrepareLoopbackCameraRequests()); }
    void SetUp() override { buffer = std::make_unique<LiveImageBuffer>(); }

    void use(const RawHttpServer& camera)
    {
        UseLoopbackCamera(config, camera);
        host = config.cameraAddress.toStdString();
    }

    // Runs the event loop until the running fetch has completed.
    LiveImageFeed::Picture completed(LiveImageFeed& feed)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return buffer->busy.load() == 0; }, 8000)) << "the fetch never ended";
        return feed.lastCompleted();
    }

    CameraExchanges exchanges;
    AppConfig config;
    std::string host;
    std::unique_ptr<LiveImageBuffer> buffer;
};

} // namespace

// What each camera answer leaves to draw: only a picture is drawn, and a failure is silent.
TEST_F(LiveImageTest, EachAnswerLeavesThePictureOrNothingToDrawSilently)
{
    const std::string red = Jpeg(Qt::red);
    const std::string huge = Jpeg(Qt::blue, QSize(2400, 1800)) + std::string(600000, '\0');
    const struct {
        const char* camera;
        RawHttpResponse answer;
        int32_t fewest;
        int32_t most;
        QColor drawn;
    } cases[] = {
        {"picture", RawHttpResponse::answer("HTTP/1.1 200 OK", red), int32_t(red.size()), int32_t(red.size()), Qt::red},
        {"404", RawHttpResponse::answer("HTTP/1.1 404 Not Found", red), 0, 0, Qt::black},
        {"not a picture", RawHttpResponse::answer("HTTP/1.1 200 OK", "<html>busy</html>"), 17, 17, Qt::black},
        {"oversized", RawHttpResponse::answer("HTTP/1.1 200 OK", huge), kCameraBodyStoreLimit, kCameraBodyCapacity, {}},
    };
    for (const auto& c : cases) {
        RawHttpServer camera([&](const RawHttpRequest&) { return c.answer; });
        use(camera);
        LiveImageFeed feed(*buffer, exchanges);
        EXPECT_EQ(feed.lastCompleted().size, 0) << "nothing before the first fetch completes";
        ASSERT_TRUE(feed.startNextFetch(host, kPath));
        const LiveImageFeed::Picture picture = completed(feed);
        EXPECT_GE(picture.size, c.fewest) << c.camera;
        EXPECT_LE(picture.size, c.most) << c.camera;
        // A cut picture is decoded as far as it goes, without a crash.
        const QColor drawn = Drawn(picture);
        if (c.drawn.isValid()) {
            EXPECT_TRUE(Near(drawn, c.drawn)) << c.camera << " drew " << drawn.name().toStdString();
        }
        EXPECT_EQ(camera.requests().size(), 1u) << c.camera;
    }
    EXPECT_TRUE(ScriptedMessageBoxes::shown().isEmpty());
}

// A 2 s camera: one fetch at a time, the last picture stays drawable meanwhile, and the new one
// arrives in the other buffer, so the bytes being drawn are never overwritten. A failed fetch
// then leaves nothing to draw until one succeeds again.
TEST_F(LiveImageTest, ASlowCameraGetsOneFetchAtATimeAndThePictureBeingDrawnStaysWhole)
{
    const std::string red = Jpeg(Qt::red);
    const std::string green = Jpeg(Qt::green);
    std::atomic<int> served{0};
    RawHttpServer camera([&](const RawHttpRequest&) {
        switch (served++) {
        case 0:
            return RawHttpResponse::answer("HTTP/1.1 200 OK", red);
        case 1:
            std::this_thread::sleep_for(2s);
            return RawHttpResponse::answer("HTTP/1.1 200 OK", green);
        case 2:
            return RawHttpResponse::answer("HTTP/1.1 404 Not Found");
        default:
            return RawHttpResponse::answer("HTTP/1.1 200 OK", green);
        }
    });
    use(camera);
    LiveImageFeed feed(*buffer, exchanges);
    ASSERT_TRUE(feed.startNextFetch(host, kPath));
    const LiveImageFeed::Picture first = completed(feed);
    ASSERT_TRUE(feed.startNextFetch(host, kPath));

    for (int tick = 0; tick < 4; ++tick) {
        QTest::qWait(300);
        const LiveImageFeed::Picture now = feed.lastCompleted();
        EXPECT_EQ(now.bytes, first.bytes);
        EXPECT_EQ(now.size, first.size);
        EXPECT_FALSE(feed.startNextFetch(host, kPath)) << "a second fetch while one runs";
    }
    completed(feed);
    EXPECT_EQ(std::string(first.bytes, size_t(first.size)), red) << "the fetch wrote over the drawn picture";
    EXPECT_TRUE(Near(Drawn(feed.lastCompleted()), Qt::green));
    EXPECT_EQ(camera.requests().size(), 2u);

    ASSERT_TRUE(feed.startNextFetch(host, kPath));
    EXPECT_EQ(completed(feed).size, 0) << "after a 404 nothing is drawn";
    EXPECT_EQ(feed.lastCompleted().size, 0);
    ASSERT_TRUE(feed.startNextFetch(host, kPath));
    EXPECT_TRUE(Near(Drawn(completed(feed)), Qt::green));
}

// No address: no fetch at all. "0.0.0.0": a fetch starts and fails at once, contacting nothing.
// A fetch works on copies of the texts it was started with.
TEST_F(LiveImageTest, FetchesStartOnlyWithAnAddressAndWorkOnTheirOwnCopies)
{
    RawHttpServer camera([](const RawHttpRequest&) { return RawHttpResponse::answer("HTTP/1.1 200 OK", "x"); });
    use(camera);
    LiveImageFeed feed(*buffer, exchanges);
    EXPECT_FALSE(feed.startNextFetch("", kPath));
    EXPECT_EQ(buffer->busy.load(), 0);
    EXPECT_TRUE(feed.startNextFetch("0.0.0.0", kPath));
    EXPECT_EQ(completed(feed).size, 0);
    EXPECT_TRUE(feed.startNextFetch(std::string(host), kPath + "?copy"));
    EXPECT_EQ(completed(feed).size, 1);
    ASSERT_EQ(camera.requests().size(), 1u);
    EXPECT_EQ(camera.requests().front().requestLine(), "GET /" + kPath + "?copy HTTP/1.1");
}

// The feed's end (the program's exit) ends a fetch from a silent or a 3 s camera at once.
TEST_F(LiveImageTest, TheEndNeverWaitsForASlowCamera)
{
    for (const bool silent : {true, false}) {
        std::atomic<bool> asked{false};
        RawHttpServer camera([silent, &asked](const RawHttpRequest&) {
            asked = true;
            if (silent)
                return RawHttpResponse::silence();
            std::this_thread::sleep_for(3s);
            return RawHttpResponse::answer("HTTP/1.1 200 OK", "late");
        });
        use(camera);
        auto feed = std::make_unique<LiveImageFeed>(*buffer, exchanges);
        ASSERT_TRUE(feed->startNextFetch(host, kPath));
        WAIT_UNTIL(asked.load());
        const auto start = Clock::now();
        feed.reset();
        EXPECT_LT(Clock::now() - start, 300ms) << (silent ? "silent" : "3 s");
        EXPECT_EQ(buffer->busy.load(), 0);
        EXPECT_EQ(buffer->byteCount.load(), 0) << (silent ? "silent" : "3 s");
    }
}

// Bytes that are no picture are silently not drawn; a painter that cannot paint shows one box,
// also when the tick goes on while it is open.
TEST_F(LiveImageTest, PictureErrorsAreSilentForBadDataAndNeverStackTheirBox)
{
    const std::string red = Jpeg(Qt::red);
    QImage target(10, 10, QImage::Format_RGB32);
    QPainter painter(&target);
    for (const std::string& bytes : {std::string(), std::string("GIF89a broken"), std::string(1000, '\xff')}) {
        CPicture picture;
        EXPECT_EQ(picture.LoadFromBuffer(bytes.data(), int32_t(bytes.size())), 1);
        EXPECT_EQ(picture.Draw(&painter, target.rect()), 0);
    }
    CPicture picture;
    ASSERT_EQ(picture.LoadFromBuffer(red.data(), int32_t(red.size())), 1);
    EXPECT_EQ(picture.Draw(nullptr, target.rect()), 0);
    EXPECT_EQ(picture.Draw(&painter, target.rect()), 1);
    picture.Free();
    EXPECT_EQ(picture.Draw(&painter, target.rect()), 0);
    EXPECT_TRUE(ScriptedMessageBoxes::shown().isEmpty());

    int boxes = 0;
    QPainter idle;
    const MessageBoxAnswerer previous = SetMessageBoxAnswerer([&](const MessageBoxRequest& box) {
        ++boxes;
        EXPECT_EQ(box.text, QStringLiteral("Can not allocate enough memory\t"));
        EXPECT_EQ(box.caption, QStringLiteral("CPicture Error"));
        EXPECT_EQ(box.icon, MessageIcon::Stop);
        // The next tick, while this box is open.
        CPicture again;
        again.LoadFromBuffer(red.data(), int32_t(red.size()));
        EXPECT_EQ(again.Draw(&idle, target.rect()), 0);
        return MessageAnswer::Ok;
    });
    ASSERT_EQ(picture.LoadFromBuffer(red.data(), int32_t(red.size())), 1);
    EXPECT_EQ(picture.Draw(&idle, target.rect()), 0);
    EXPECT_EQ(picture.Draw(&idle, target.rect()), 0);
    SetMessageBoxAnswerer(previous);
    EXPECT_EQ(boxes, 2) << "one box per failed drawing, none on top of an open one";
}
