#pragma once

#include <QProxyStyle>

// The style of every IconMenuWidget: owner-drawn items are measured and drawn by the CIconMenu
// they belong to; the menu adds no margins around them, so its items are exactly as measured.
class IconMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The one instance, owned by the application object.
    static IconMenuStyle* instance();

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};
