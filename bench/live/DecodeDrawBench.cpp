// Decoding and drawing one 640 x 480 camera picture into the live square, as each 500 ms tick
// does, beside QImage's decoding alone.
#include "bench/MedianTime.h"
#include "motion/CPicture.h"
#include "sim/Panorama.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int kRuns = 300;
constexpr QSize kSquare(175, 175);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QByteArray jpeg = Panorama(QSize(640, 480)).jpeg(175.0, 0.0, QDateTime::currentDateTime());
    const auto* bytes = jpeg.constData();
    const auto size = static_cast<int32_t>(jpeg.size());

    const double decodeMs = MedianMs(kRuns, [&] {
        QImage image;
        image.loadFromData(jpeg);
    });
    const double decodeDrawMs = MedianMs(kRuns, [&] {
        CPicture picture;
        picture.LoadFromBuffer(bytes, size);
        QImage square(kSquare, QImage::Format_RGB32);
        QPainter painter(&square);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        picture.Draw(&painter, square.rect());
    });
    std::printf("picture: 640 x 480 JPEG, %d bytes; median of %d runs\n", size, kRuns);
    std::printf("figure: live-decode-ms-640 = %.2f ms\n", decodeMs);
    std::printf("figure: live-decode-draw-ms-640 = %.2f ms\n", decodeDrawMs);
    return 0;
}
