#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QSize>

// The camera's world: a full circle of sky, horizon, hills and landmarks with a pan and tilt
// degree scale and the time. A view is cut from it around the head's pan and tilt.
// Needs a QGuiApplication (fonts); views may be drawn on several threads at once.
class Panorama {
public:
    static constexpr double kFieldOfView = 60.0; // horizontal, in degrees
    static constexpr int kJpegQuality = 80;

    explicit Panorama(QSize size = QSize(640, 480));

    QSize size() const { return size_; }
    QImage view(double pan, double tilt, const QDateTime& time) const;
    QByteArray jpeg(double pan, double tilt, const QDateTime& time) const;

private:
    QSize size_;
};
