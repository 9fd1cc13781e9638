#include "sim/Panorama.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace {

// Maps world angles (azimuth, elevation in degrees) to pixels of one view.
struct ViewMapping {
    double pan;
    double tilt;
    double pixelsPerDegree;
    double width;
    double height;

    // The azimuth's offset from the view's centre, in -180..180 degrees.
    double offset(double azimuth) const { return std::remainder(azimuth - pan, 360.0); }
    double x(double azimuth) const { return width / 2 + offset(azimuth) * pixelsPerDegree; }
    double y(double elevation) const { return height / 2 - (elevation - tilt) * pixelsPerDegree; }
    double halfWidthDegrees() const { return width / 2 / pixelsPerDegree; }
    double halfHeightDegrees() const { return height / 2 / pixelsPerDegree; }
};

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// The hills behind the landmarks; periodic over the full circle.
double ridgeElevation(double azimuth)
{
    const double a = radians(azimuth);
    return 3.5 + 1.6 * std::sin(3 * a + 0.4) + 1.0 * std::sin(7 * a + 2.1) + 0.5 * std::sin(17 * a);
}

QFont labelFont(double pixelSize)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(8, static_cast<int>(pixelSize)));
    return font;
}

void drawShadowedText(QPainter& painter, const QRectF& box, int flags, const QString& text)
{
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(box.translated(1, 1), flags, text);
    painter.setPen(Qt::white);
    painter.drawText(box, flags, text);
}

void drawSkyAndGround(QPainter& painter, const ViewMapping& view)
{
    const double horizon = std::clamp(view.y(0), 0.0, view.height);
    QLinearGradient sky(0, view.y(70), 0, view.y(0));
    sky.setColorAt(0, QColor(18, 52, 110));
    sky.setColorAt(1, QColor(176, 208, 236));
    painter.fillRect(QRectF(0, 0, view.width, horizon), sky);
    QLinearGradient ground(0, view.y(0), 0, view.y(-70));
    ground.setColorAt(0, QColor(104, 136, 64));
    ground.setColorAt(1, QColor(36, 52, 24));
    painter.fillRect(QRectF(0, horizon, view.width, view.height - horizon), ground);
}

// Sun and clouds: (azimuth, elevation, width, height) in degrees.
void drawSky(QPainter& painter, const ViewMapping& view)
{
    const double d = view.pixelsPerDegree;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 236, 140));
    painter.drawEllipse(QPointF(view.x(135), view.y(30)), 2.5 * d, 2.5 * d);
    struct Cloud {
        double azimuth, elevation, width, height;
    };
    constexpr Cloud clouds[] = {{60, 22, 14, 3}, {205, 28, 18, 4}, {290, 16, 10, 2.5}, {350, 34, 12, 3}};
    painter.setBrush(QColor(250, 250, 255, 210));
    for (const Cloud& c : clouds) {
        const QPointF centre(view.x(c.azimuth), view.y(c.elevation));
        painter.drawEllipse(centre, c.width / 2 * d, c.height / 2 * d);
        painter.drawEllipse(centre + QPointF(-c.width / 5 * d, -c.height / 3 * d), c.width / 4 * d, c.height / 2 * d);
    }
}

// A patchwork of fields in the foreground, 30 degrees wide, so that every direction looks
// different below the horizon too.
void drawFields(QPainter& painter, const ViewMapping& view)
{
    static const QColor colours[] = {QColor(120, 150, 70), QColor(150, 140, 80), QColor(90, 125, 60),
                                     QColor(170, 160, 100)};
    constexpr double bands[] = {-1.5, -5, -12, -28, -90};
    constexpr double fieldWidth = 30;
    painter.setPen(QPen(QColor(70, 80, 40), 1));
    for (int field = 0; field < 12; ++field) {
        const double left = view.x(field * fieldWidth);
        const double width = fieldWidth * view.pixelsPerDegree;
        if (left > view.width || left + width < 0)
            continue;
        for (int band = 0; band + 1 < static_cast<int>(std::size(bands)); ++band) {
            painter.setBrush(colours[(field * 3 + band * 5) % std::size(colours)]);
            painter.drawRect(QRectF(left, view.y(bands[band]), width, view.y(bands[band + 1]) - view.y(bands[band])));
        }
    }
}

void drawHills(QPainter& painter, const ViewMapping& view)
{
    QPolygonF outline;
    const double margin = view.halfWidthDegrees() + 1;
    for (double a = -margin; a <= margin; a += 0.5)
        outline << QPointF(view.width / 2 + a * view.pixelsPerDegree, view.y(ridgeElevation(view.pan + a)));
    outline << QPointF(view.width / 2 + margin * view.pixelsPerDegree, view.y(0))
            << QPointF(view.width / 2 - margin * view.pixelsPerDegree, view.y(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(92, 110, 136));
    painter.drawPolygon(outline);
    painter.setPen(QPen(QColor(60, 70, 50), 1));
    painter.drawLine(QPointF(0, view.y(0)), QPointF(view.width, view.y(0)));
}

// Landmark shapes are drawn in degrees, upwards from the foot of the landmark.
void drawLighthouse(QPainter& painter)
{
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({QPointF(-1.0, 0), QPointF(1.0, 0), QPointF(0.6, 11), QPointF(-0.6, 11)}));
    painter.setBrush(QColor(200, 30, 30));
    for (double band : {2.0, 6.0})
        painter.drawRect(QRectF(-0.9 + band * 0.035, band, 1.8 - band * 0.07, 2));
    painter.setBrush(QColor(255, 220, 60));
    painter.drawRect(QRectF(-0.5, 11, 1.0, 1.2));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawPolygon(QPolygonF({QPointF(-0.8, 12.2), QPointF(0.8, 12.2), QPointF(0, 13.4)}));
}

void drawFarmhouse(QPainter& painter)
{
    painter.setBrush(QColor(214, 180, 120));
    painter.drawRect(QRectF(-3, 0, 6, 3.5));
    painter.setBrush(QColor(140, 40, 30));
    painter.drawPolygon(QPolygonF({QPointF(-3.6, 3.5), QPointF(3.6, 3.5), QPointF(0, 6.5)}));
    painter.setBrush(QColor(70, 50, 30));
    painter.drawRect(QRectF(-0.5, 0, 1.0, 2.0));
    painter.setBrush(QColor(90, 140, 190));
    painter.drawRect(QRectF(-2.4, 1.4, 1.1, 1.1));
    painter.drawRect(QRectF(1.3, 1.4, 1.1, 1.1));
}

void drawOaks(QPainter& painter)
{
    for (double x : {-2.5, 0.0, 2.8}) {
        const double height = 3.0 + std::abs(x) * 0.3;
        painter.setBrush(QColor(92, 64, 36));
        painter.drawRect(QRectF(x - 0.25, 0, 0.5, height));
        painter.setBrush(QColor(40, 96, 40));
        painter.drawEllipse(QPointF(x, height + 1.2), 1.8, 1.9);
    }
}

void drawChurch(QPainter& painter)
{
    painter.setBrush(QColor(225, 222, 210));
    painter.drawRect(QRectF(-1.0, 0, 6.5, 4.5));
    painter.drawRect(QRectF(-2.6, 0, 2.2, 10));
    painter.setBrush(QColor(60, 90, 80));
    painter.drawPolygon(QPolygonF({QPointF(-1.0, 4.5), QPointF(5.5, 4.5), QPointF(2.25, 6.8)}));
    painter.drawPolygon(QPolygonF({QPointF(-2.8, 10), QPointF(-0.2, 10), QPointF(-1.5, 15)}));
    painter.setPen(QPen(QColor(50, 50, 50), 0.15));
    painter.drawLine(QPointF(-1.5, 15), QPointF(-1.5, 16.4));
    painter.drawLine(QPointF(-2.0, 15.9), QPointF(-1.0, 15.9));
    painter.setPen(Qt::NoPen);
}

void drawRadioMast(QPainter& painter)
{
    painter.setPen(QPen(QColor(200, 40, 40), 0.25));
    painter.drawLine(QPointF(0, 0), QPointF(0, 20));
    painter.setPen(QPen(QColor(90, 90, 90), 0.06));
    for (double side : {-1.0, 1.0}) {
        painter.drawLine(QPointF(0, 18), QPointF(side * 6, 0));
        painter.drawLine(QPointF(0, 10), QPointF(side * 4, 0));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 60, 60));
    painter.drawEllipse(QPointF(0, 20.3), 0.35, 0.35);
}

void drawLandmarks(QPainter& painter, const ViewMapping& view)
{
    struct Landmark {
        double azimuth;
        const char* name;
        void (*draw)(QPainter&);
    };
    static constexpr Landmark landmarks[] = {
        {25, "Lighthouse", drawLighthouse}, {95, "Farmhouse", drawFarmhouse},   {160, "Oaks", drawOaks},
        {235, "Church", drawChurch},        {300, "Radio mast", drawRadioMast},
    };
    const QFont font = labelFont(view.height / 34);
    for (const Landmark& landmark : landmarks) {
        if (std::abs(view.offset(landmark.azimuth)) > view.halfWidthDegrees() + 10)
            continue;
        const QPointF foot(view.x(landmark.azimuth), view.y(0));
        painter.save();
        painter.translate(foot);
        painter.scale(view.pixelsPerDegree, -view.pixelsPerDegree);
        painter.setPen(Qt::NoPen);
        landmark.draw(painter);
        painter.restore();
        painter.setFont(font);
        const double gap = view.pixelsPerDegree;
        drawShadowedText(painter, QRectF(foot.x() - 100, foot.y() + gap * 0.5, 200, font.pixelSize() * 1.5),
                         Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(landmark.name));
    }
}

QString degreesText(int degrees, bool signedText)
{
    const QString number = QString::number(degrees);
    return (signedText && degrees > 0 ? QStringLiteral("+") : QString()) + number + QChar(0x00B0);
}

// Ticks every degree, longer every 5 and labelled every 10, along the top edge.
void drawPanScale(QPainter& painter, const ViewMapping& view, double band)
{
    painter.fillRect(QRectF(0, 0, view.width, band), QColor(0, 0, 0, 110));
    painter.setFont(labelFont(band * 0.55));
    const int first = static_cast<int>(std::floor(view.pan - view.halfWidthDegrees()));
    const int last = static_cast<int>(std::ceil(view.pan + view.halfWidthDegrees()));
    for (int degree = first; degree <= last; ++degree) {
        const double x = view.width / 2 + (degree - view.pan) * view.pixelsPerDegree;
        const double tick = degree % 10 == 0 ? 0.45 : degree % 5 == 0 ? 0.3 : 0.15;
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(QPointF(x, band), QPointF(x, band * (1 - tick)));
        if (degree % 10 == 0) {
            const int azimuth = ((degree % 360) + 360) % 360;
            painter.drawText(QRectF(x - 40, 0, 80, band * 0.6), Qt::AlignCenter, degreesText(azimuth, false));
        }
    }
}

// The same for tilt along the left edge.
void drawTiltScale(QPainter& painter, const ViewMapping& view, double band, double top)
{
    const double width = band * 2.2;
    painter.fillRect(QRectF(0, top, width, view.height - 2 * top), QColor(0, 0, 0, 90));
    painter.setFont(labelFont(band * 0.5));
    const int first = static_cast<int>(std::floor(view.tilt - view.halfHeightDegrees()));
    const int last = static_cast<int>(std::ceil(view.tilt + view.halfHeightDegrees()));
    for (int degree = first; degree <= last; ++degree) {
        const double y = view.y(degree);
        if (y < top || y > view.height - top)
            continue;
        const double tick = degree % 10 == 0 ? 0.35 : degree % 5 == 0 ? 0.25 : 0.12;
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(QPointF(width, y), QPointF(width * (1 - tick), y));
        if (degree % 10 == 0)
            painter.drawText(QRectF(2, y - band / 2, width * 0.62, band), Qt::AlignVCenter | Qt::AlignLeft,
                             degreesText(degree, true));
    }
}

void drawCrosshair(QPainter& painter, const ViewMapping& view)
{
    const QPointF centre(view.width / 2, view.height / 2);
    const double arm = std::max(8.0, view.pixelsPerDegree * 1.5);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(centre - QPointF(arm, 0), centre - QPointF(arm / 3, 0));
    painter.drawLine(centre + QPointF(arm / 3, 0), centre + QPointF(arm, 0));
    painter.drawLine(centre - QPointF(0, arm), centre - QPointF(0, arm / 3));
    painter.drawLine(centre + QPointF(0, arm / 3), centre + QPointF(0, arm));
}

void drawCaption(QPainter& painter, const ViewMapping& view, double band, const QDateTime& time)
{
    const QRectF box(0, view.height - band, view.width, band);
    painter.fillRect(box, QColor(0, 0, 0, 140));
    painter.setFont(labelFont(band * 0.6));
    const QString position = QStringLiteral("Pan %1%2   Tilt %3%4")
                                 .arg(view.pan, 0, 'f', 1)
                                 .arg(QChar(0x00B0))
                                 .arg(view.tilt >= 0 ? QStringLiteral("+") : QString())
                                 .arg(QString::number(view.tilt, 'f', 1) + QChar(0x00B0));
    const QRectF inner = box.adjusted(band * 0.4, 0, -band * 0.4, 0);
    drawShadowedText(painter, inner, Qt::AlignVCenter | Qt::AlignLeft, position);
    drawShadowedText(painter, inner, Qt::AlignVCenter | Qt::AlignRight,
                     time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

} // namespace

Panorama::Panorama(QSize size) : size_(size) {}

QImage Panorama::view(double pan, double tilt, const QDateTime& time) const
{
    QImage image(size_, QImage::Format_RGB32);
    const ViewMapping view{pan, tilt, size_.width() / kFieldOfView, static_cast<double>(size_.width()),
                           static_cast<double>(size_.height())};
    const double band = std::max(16.0, size_.height() / 24.0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawSkyAndGround(painter, view);
    drawSky(painter, view);
    drawFields(painter, view);
    drawHills(painter, view);
    drawLandmarks(painter, view);
    drawCrosshair(painter, view);
    drawPanScale(painter, view, band);
    drawTiltScale(painter, view, band, band);
    drawCaption(painter, view, band, time);
    return image;
}

QByteArray Panorama::jpeg(double pan, double tilt, const QDateTime& time) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    view(pan, tilt, time).save(&buffer, "JPEG", kJpegQuality);
    return bytes;
}
