#include "platform/DialogGroupBox.h"

#include <QPainter>

namespace {

constexpr int kTitleIndent = 6;
constexpr int kTitlePadding = 2;
constexpr qreal kCornerRadius = 3;

} // namespace

DialogGroupBox::DialogGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void DialogGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRectF frame = QRectF(rect()).adjusted(0.5, metrics.height() / 2 + 0.5, -0.5, -0.5);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRoundedRect(frame, kCornerRadius, kCornerRadius);
    if (title().isEmpty())
        return;
    const QRect titleRect(kTitleIndent, 0, metrics.horizontalAdvance(title()) + 2 * kTitlePadding, metrics.height());
    painter.fillRect(titleRect, palette().window());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter | Qt::TextShowMnemonic, title());
}
