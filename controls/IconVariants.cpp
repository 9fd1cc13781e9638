#include "controls/IconVariants.h"

#include <QPainter>

QColor LightenColor(const QColor& colour, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return colour;
    const auto lighten = [factor](int channel) { return static_cast<int>(channel + factor * (255 - channel)); };
    return QColor(lighten(colour.red()), lighten(colour.green()), lighten(colour.blue()));
}

QImage RecolouredIcon(const QImage& icon, const QColor& face, const std::function<QColor(const QColor&)>& recolour)
{
    QImage image(icon.size(), QImage::Format_RGB32);
    image.fill(face);
    QPainter(&image).drawImage(0, 0, icon);
    const QRgb background = face.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                image.setPixel(x, y, recolour(image.pixelColor(x, y)).rgb());
    return WithTransparentColour(image, face);
}

QImage WithTransparentColour(const QImage& image, const QColor& colour)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = colour.rgb();
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            if (result.pixel(x, y) == transparent)
                result.setPixel(x, y, qRgba(0, 0, 0, 0));
    return result;
}
