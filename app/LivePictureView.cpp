#include "app/LivePictureView.h"

#include "motion/CPicture.h"

#include <QPainter>

LivePictureView::LivePictureView(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("livePicture"));
    setGeometry(kSquare);
    // The arrows and the window's own clicks stay with the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LivePictureView::drawPicture(const char* bytes, int32_t size)
{
    CPicture picture(window());
    picture.LoadFromBuffer(bytes, size);
    // A fresh image per drawing: a tick that runs while a box of the picture class is open
    // never paints into the image an outer tick is still painting.
    QImage drawn(kSquare.size(), QImage::Format_RGB32);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (picture.Draw(&painter, drawn.rect()) == 0)
        return;
    painter.end();
    shown_ = std::move(drawn);
    ++picturesDrawn_;
    update();
}

void LivePictureView::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter(this).drawImage(0, 0, shown_);
}
