#include "controls/ImageList.h"

#include <QPainter>

#include <gtest/gtest.h>

TEST(ImageList, StripIsCutLeftToRightAndARemainderIsNoImage)
{
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue};
    QPixmap strip(3 * 20 + 7, 20);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    for (int i = 0; i < colours.size(); ++i)
        painter.fillRect(i * 20, 0, 20, 20, colours[i]);
    painter.end();

    ImageList images(QSize(20, 20));
    EXPECT_EQ(images.addStrip(strip), 3);
    ASSERT_EQ(images.count(), 3);
    for (int i = 0; i < colours.size(); ++i) {
        const QImage image = images.image(i).toImage();
        EXPECT_EQ(image.size(), QSize(20, 20));
        EXPECT_EQ(image.pixelColor(0, 0), colours[i]);
        EXPECT_EQ(image.pixelColor(19, 19), colours[i]);
    }
    EXPECT_TRUE(images.image(3).isNull());
    EXPECT_TRUE(images.image(-1).isNull());

    EXPECT_EQ(images.add(QPixmap(16, 16)), -1);
    EXPECT_EQ(images.add(images.image(0)), 3);
}
