#include "res/Resources.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QPixmap renderSvg(const QString& path, QSize size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

QPixmap IconResource(int id, int size)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(id);
    if (size <= 0 || !QFile::exists(path))
        return {};
    return renderSvg(path, QSize(size, size));
}

QPixmap BitmapResource(int id)
{
    // Bitmaps are bundled as PNG: pixel art as drawn, the rest rendered from SVG while building.
    const QString png = QStringLiteral(":/bitmaps/%1.png").arg(id);
    return QFile::exists(png) ? QPixmap(png) : QPixmap();
}

QString HelpPageUrl(int32_t language, const QString& topic)
{
    QString folder;
    if (language == 0)
        folder = QStringLiteral("de");
    else if (language == 1)
        folder = QStringLiteral("en");
    else
        return {};
    const QString path = QStringLiteral("/help/%1/%2.html").arg(folder, topic);
    if (topic.contains(QLatin1Char('/')) || !QFile::exists(QLatin1Char(':') + path))
        return {};
    return QStringLiteral("qrc:") + path;
}

QString SoundResourcePath(int id)
{
    const QString path = QStringLiteral(":/sound/%1.wav").arg(id);
    return QFile::exists(path) ? path : QString();
}
