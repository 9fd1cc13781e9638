#include "tests/app/AppTestFixture.h"
#include "tests/motion/LoopbackCamera.h"

#include "app/LivePictureView.h"
#include "app/ProcessState.h"
#include "motion/CameraRequest.h"
#include "platform/TrayIcon.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/WaitUntil.h"

#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTickMs = 500;

// The mean difference per colour channel of two pictures of the same size.
double Difference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// The simulator's camera in this process, and Pantiro's settings pointing at it.
class LivePictureTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(proxy);
        ASSERT_TRUE(camera.start(0));
        setenv("PANTIRO_CAMERA_PORT", std::to_string(camera.port()).c_str(), 1);
        writeSetting("Language", u"0"_s);
        writeSetting("CommAdr", u"127.0.0.1"_s);
    }

    // The simulator's current picture as the square shows it.
    QImage cameraPicture()
    {
        std::vector<char> body(kCameraBodyCapacity);
        const int32_t size = StoredBy("127.0.0.1", "record/current.jpg", body.data());
        return QImage::fromData(reinterpret_cast<const uchar*>(body.data()), size)
            .scaled(LivePictureView::kSquare.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }

    static QImage square(CAppDlg& window) { return window.grab(LivePictureView::kSquare).toImage(); }

    QTemporaryDir folder;
    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(320, 240)};
    UserClicks clicks{folder.filePath(u"clicks"_s)};
    Faults faults;
    CameraServer camera{head, panorama, clicks, faults};
};

} // namespace

// The simulator's picture appears in the square; minimised, nothing is fetched or drawn; after a
// failed fetch nothing new is drawn until a fetch succeeds again, and the picture left shows as old.
TEST_F(LivePictureTest, TheCamerasPictureAppearsInTheSquareExceptWhileMinimisedOrFailing)
{
    TrayIcon::overrideAvailability(true);
    CAppDlg& window = start();
    const QImage background = square(window);
    LivePictureView& view = *window.livePicture();
    WAIT_UNTIL_MS(view.picturesDrawn() >= 2, 5000);
    const QImage shown = square(window);
    const QImage expected = cameraPicture();
    EXPECT_LT(Difference(shown, expected), 8.0);
    EXPECT_GT(Difference(shown, background), 30.0);

    window.showMinimized();
    WAIT_UNTIL(!window.isVisible());
    QTest::qWait(kTickMs); // a fetch that had started before may still end
    const int64_t served = camera.picturesServed();
    const int drawn = view.picturesDrawn();
    QTest::qWait(3 * kTickMs);
    EXPECT_EQ(camera.picturesServed(), served);
    EXPECT_EQ(view.picturesDrawn(), drawn);

    emit window.findChild<QSystemTrayIcon*>()->activated(QSystemTrayIcon::Trigger);
    WAIT_UNTIL_MS(camera.picturesServed() > served && view.picturesDrawn() > drawn, 3000);

    ASSERT_TRUE(faults.update({{"status", "404"}}).isEmpty());
    QTest::qWait(2 * kTickMs);
    const int beforeFailure = view.picturesDrawn();
    QTest::qWait(3 * kTickMs);
    EXPECT_EQ(view.picturesDrawn(), beforeFailure);
    // About 5 s after the last fresh picture it shows as old: greyed, with the time it came.
    const auto grey = [&] {
        return Difference(square(window), square(window).convertToFormat(QImage::Format_Grayscale8));
    };
    WAIT_UNTIL_MS(view.showsOldPicture(), 4000);
    EXPECT_LT(grey(), 1.0);
    ASSERT_TRUE(faults.update({{"clear", ""}}).isEmpty());
    WAIT_UNTIL_MS(view.picturesDrawn() > beforeFailure && !view.showsOldPicture(), 3000);
    EXPECT_GT(grey(), 2.0);
}

TEST_F(LivePictureTest, WithoutACameraAddressNothingIsFetchedOrDrawn)
{
    writeSetting("CommAdr", QString());
    CAppDlg& window = start();
    QTest::qWait(3 * kTickMs);
    EXPECT_EQ(camera.picturesServed(), 0);
    EXPECT_EQ(window.livePicture()->picturesDrawn(), 0);
    EXPECT_EQ(processState().picture.busy.load(), 0);
}
