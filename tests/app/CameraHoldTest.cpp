#include "tests/app/AppTestFixture.h"

#include "app/ProcessState.h"
#include "platform/DialogBuilder.h"
#include "tests/support/RawHttpServer.h"

#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// A camera that takes the connection and the request and never answers, while the operator
// steers over its relay: each command holds the window until the exchange's time-out, no
// longer, and the window carries on afterwards.
TEST_F(AppTest, AnUnansweringCameraHoldsTheWindowForOneTimeOutPerCommandAtMost)
{
    for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
        unsetenv(proxy);
    RawHttpServer camera([](const RawHttpRequest&) { return RawHttpResponse::silence(); });
    setenv("PANTIRO_CAMERA_PORT", QByteArray::number(camera.port()).constData(), 1);
    writeSetting("Language", u"0"_s);
    writeSetting("CommAdr", u"127.0.0.1"_s);
    CAppDlg& window = start();
    const QPoint up = FindControl(window, 201)->geometry().center();

    using Clock = std::chrono::steady_clock;
    const auto timed = [](auto action) {
        const Clock::time_point begin = Clock::now();
        action();
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begin);
    };
    const auto pressHeld = timed([&] { QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, up); });
    EXPECT_EQ(processState().motion.direction, 1) << "the counters follow the command as it is given";
    const auto releaseHeld = timed([&] { QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, up); });
    // Taken before the unanswered stop is sent again, half a second later.
    const std::vector<RawHttpRequest> requests = camera.requests();
    unsetenv("PANTIRO_CAMERA_PORT");
    std::printf("camera-hold-max-ms %lld\n", static_cast<long long>(std::max(pressHeld, releaseHeld).count()));

    for (const auto held : {pressHeld, releaseHeld}) {
        EXPECT_GE(held, 4500ms) << "the command waited for its answer";
        EXPECT_LE(held, 5500ms) << "and no longer than the exchange's time-out";
    }
    EXPECT_EQ(processState().motion.direction, 0);
    const int32_t y = processState().motion.posY;
    EXPECT_GT(y, 0);
    QTest::qWait(300);
    EXPECT_EQ(processState().motion.posY, y) << "stopped";
    // The live picture asks the same camera on its own thread; the steering commands are two.
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const RawHttpRequest& r) { return r.requestLine().find(".jpg") == std::string::npos; }),
              2);
}
