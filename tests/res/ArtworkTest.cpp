#include "res/Resources.h"

#include <QColor>
#include <QImage>
#include <QTransform>

#include <gtest/gtest.h>

#include <map>

namespace {

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

// The mean colour of the opaque pixels.
QColor meanColour(const QImage& image)
{
    long red = 0, green = 0, blue = 0, count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) <= 128)
                continue;
            red += qRed(pixel), green += qGreen(pixel), blue += qBlue(pixel), ++count;
        }
    return count == 0 ? QColor() : QColor(int(red / count), int(green / count), int(blue / count));
}

// How many pixels are opaque in one image and not in the other.
int maskDifference(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += (qAlpha(a.pixel(x, y)) > 128) != (qAlpha(b.pixel(x, y)) > 128) ? 1 : 0;
    return count;
}

enum class Tint { Green, Red, Grey };

struct Arrow {
    int quarterTurns; // clockwise from up
    Tint tint;
};

const std::map<int, Arrow> kArrows = {
    {179, {0, Tint::Green}}, {175, {1, Tint::Green}}, {180, {2, Tint::Green}}, {177, {3, Tint::Green}},
    {178, {0, Tint::Red}},   {174, {1, Tint::Red}},   {181, {2, Tint::Red}},   {176, {3, Tint::Red}},
    {185, {0, Tint::Grey}},  {184, {1, Tint::Grey}},  {182, {2, Tint::Grey}},  {183, {3, Tint::Grey}},
};

Tint tintOf(const QColor& colour)
{
    if (colour.hsvSaturation() < 40)
        return Tint::Grey;
    return colour.red() > colour.green() ? Tint::Red : Tint::Green;
}

} // namespace

TEST(Artwork, IconsDrawSomethingAtEverySize)
{
    std::vector<int> ids = {107};
    for (const auto& [id, arrow] : kArrows)
        ids.push_back(id);
    for (int id : ids)
        for (int size : {16, 32, 48}) {
            const QImage image = IconResource(id, size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size)) << id;
            EXPECT_GT(opaquePixels(image), size * size / 5) << id << " at " << size;
            EXPECT_LT(opaquePixels(image), size * size) << id << " fills its whole square";
        }
}

// Each arrow must carry the colour of its state and point in its direction, so that a swapped
// file shows up here rather than as a wrong arrow in the window.
TEST(Artwork, ArrowsHaveTheirColourAndDirection)
{
    const QImage up = IconResource(179).toImage();
    // An upward arrow: a narrow tip in the top row, the broad shaft in the bottom one.
    auto rowWidth = [&](int y) {
        int width = 0;
        for (int x = 0; x < up.width(); ++x)
            width += qAlpha(up.pixel(x, y)) > 128 ? 1 : 0;
        return width;
    };
    int top = 0;
    while (rowWidth(top) == 0)
        ++top;
    int bottom = up.height() - 1;
    while (rowWidth(bottom) == 0)
        --bottom;
    EXPECT_LT(rowWidth(top), rowWidth(bottom));

    for (const auto& [id, arrow] : kArrows) {
        const QImage image = IconResource(id).toImage();
        EXPECT_EQ(tintOf(meanColour(image)), arrow.tint) << id;
        const QImage turned =
            up.transformed(QTransform().rotate(90.0 * arrow.quarterTurns)).convertToFormat(image.format());
        EXPECT_LT(maskDifference(image, turned), 20) << id << " does not point its way";
    }
}

TEST(Artwork, BitmapsHaveTheirPixelSizes)
{
    const std::map<int, QSize> sizes = {{161, {16, 12}}, {162, {16, 12}},  {167, {14, 6}},
                                        {168, {14, 6}},  {177, {300, 20}}, {188, {931, 16}}};
    for (const auto& [id, size] : sizes)
        EXPECT_EQ(BitmapResource(id).size(), size) << id;

    const QImage strip = BitmapResource(177).toImage();
    for (int index = 0; index < 15; ++index)
        EXPECT_GT(opaquePixels(strip.copy(index * 20, 0, 20, 20)), 50) << "strip image " << index;

    // The lamp is plainly red when on and plainly not when off.
    const QColor on = meanColour(BitmapResource(167).toImage());
    const QColor off = meanColour(BitmapResource(168).toImage());
    EXPECT_GT(on.red(), 2 * on.green());
    EXPECT_LT(off.value(), on.value() / 2);
}

// The menu code masks silver: the four icons must not be silver all over, and every other
// pixel must be exactly silver and opaque.
TEST(Artwork, ToolbarIsIconsOnTheTransparentColour)
{
    const QImage toolbar = BitmapResource(188).toImage();
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    for (int index = 0; index < 4; ++index) {
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = index * 16; x < index * 16 + 16; ++x)
                drawn += toolbar.pixel(x, y) != silver ? 1 : 0;
        EXPECT_GT(drawn, 40) << "toolbar image " << index;
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 64; x < toolbar.width(); ++x)
            ASSERT_EQ(toolbar.pixel(x, y), silver) << x << "," << y;
}

TEST(Artwork, UnknownIdsGiveNothing)
{
    EXPECT_TRUE(IconResource(161).isNull()); // a bitmap, not an icon
    EXPECT_TRUE(IconResource(186).isNull());
    EXPECT_TRUE(IconResource(107, 0).isNull());
    EXPECT_TRUE(BitmapResource(107).isNull());
    EXPECT_TRUE(BitmapResource(189).isNull());
    EXPECT_TRUE(SoundResourcePath(177).isEmpty());
}
