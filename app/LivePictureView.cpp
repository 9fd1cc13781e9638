#include "app/LivePictureView.h"

#include "motion/CPicture.h"

#include <QPainter>

namespace {

constexpr int kTimeBandHeight = 18;
constexpr double kOldPictureOpacity = 0.55;

} // namespace

LivePictureView::LivePictureView(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("livePicture"));
    setGeometry(kSquare);
    // The arrows and the window's own clicks stay with the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool LivePictureView::drawPicture(const char* bytes, int32_t size)
{
    CPicture picture(window());
    picture.LoadFromBuffer(bytes, size);
    // A fresh image per drawing: a tick that runs while a box of the picture class is open
    // never paints into the image an outer tick is still painting.
    QImage drawn(kSquare.size(), QImage::Format_RGB32);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (picture.Draw(&painter, drawn.rect()) == 0)
        return false;
    painter.end();
    shown_ = std::move(drawn);
    ++picturesDrawn_;
    update();
    return true;
}

void LivePictureView::age(Clock::time_point now, bool freshDrawn)
{
    if (freshDrawn) {
        freshAt_ = now;
        freshTime_ = QTime::currentTime();
    }
    const bool old = freshAt_ && now - *freshAt_ >= kOldAfter;
    if (old != old_) {
        old_ = old;
        update();
    }
}

void LivePictureView::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter painter(this);
    if (old_)
        paintOld(painter);
    else
        painter.drawImage(0, 0, shown_);
}

// Grey and faded over the window's background, with the time of the last fresh picture below.
void LivePictureView::paintOld(QPainter& painter) const
{
    painter.setOpacity(kOldPictureOpacity);
    painter.drawImage(0, 0, shown_.convertToFormat(QImage::Format_Grayscale8));
    painter.setOpacity(1.0);
    const QRect band(0, height() - kTimeBandHeight, width(), kTimeBandHeight);
    painter.fillRect(band, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, freshTime_.toString(QStringLiteral("HH:mm:ss")));
}
