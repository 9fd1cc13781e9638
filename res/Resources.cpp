#include "res/Resources.h"

#include <QFile>

namespace {

// The sizes each icon is rendered at while building, smallest first.
constexpr int kIconSizes[] = {16, 32, 48};

} // namespace

QPixmap IconResource(int id, int size)
{
    if (size <= 0)
        return {};
    // The rendering of that size, or the next larger one scaled down (the largest scaled up).
    QString path;
    for (int rendered : kIconSizes) {
        path = QStringLiteral(":/icons/%1-%2.png").arg(id).arg(rendered);
        if (rendered >= size)
            break;
    }
    const QPixmap icon(path);
    if (icon.isNull() || icon.width() == size)
        return icon;
    return icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
