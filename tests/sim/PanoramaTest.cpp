#include "sim/Panorama.h"

#include <QBuffer>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

const QDateTime kNoon(QDate(2024, 5, 1), QTime(12, 0, 0));

QImage decodeJpeg(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    return reader.read();
}

// Mean difference per colour channel of two equal-sized regions.
double difference(const QImage& a, QPoint aOrigin, const QImage& b, QPoint bOrigin, QSize size)
{
    double sum = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = a.pixel(aOrigin + QPoint(x, y));
            const QRgb q = b.pixel(bOrigin + QPoint(x, y));
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * size.width() * size.height());
}

TEST(SimPanoramaTest, PicturesAreJpegsOfTheChosenSize)
{
    for (const QSize size : {QSize(640, 480), QSize(1280, 960), QSize(160, 120)}) {
        const QByteArray jpeg = Panorama(size).jpeg(175, 0, kNoon);
        EXPECT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9"));
        EXPECT_EQ(decodeJpeg(jpeg).size(), size);
    }
    // The controller keeps at most 449999 bytes of a picture.
    for (double pan : {0.0, 25.0, 95.0, 235.0, 350.0})
        EXPECT_LT(Panorama().jpeg(pan, -30, kNoon).size(), 200000);
}

TEST(SimPanoramaTest, ViewIsCutFromThePanoramaByPanAndTilt)
{
    const Panorama panorama; // 640 px for 60 degrees: 3 degrees are 32 px
    const QImage view = panorama.view(100, 0, kNoon);
    EXPECT_EQ(view, panorama.view(100, 0, kNoon));
    EXPECT_NE(view, panorama.view(100, 0, kNoon.addSecs(1))); // the clock runs

    // Away from the scales and the crosshair, panning right by 3 degrees moves the scene 32 px left.
    const QImage panned = panorama.view(103, 0, kNoon);
    const QSize area(200, 360);
    EXPECT_LT(difference(view, QPoint(400, 60), panned, QPoint(368, 60), area), 0.5);
    EXPECT_GT(difference(view, QPoint(400, 60), panned, QPoint(400, 60), area), 2.0);

    const QImage tilted = panorama.view(100, 3, kNoon);
    EXPECT_LT(difference(view, QPoint(400, 60), tilted, QPoint(400, 92), QSize(200, 320)), 0.5);

    // The circle closes at north.
    EXPECT_LT(
        difference(panorama.view(357, 0, kNoon), QPoint(400, 60), panorama.view(3, 0, kNoon), QPoint(336, 60), area),
        0.5);
}

} // namespace
