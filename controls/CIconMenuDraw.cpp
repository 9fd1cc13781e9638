#include "controls/CIconMenu.h"

#include "controls/IconMenuWidget.h"
#include "controls/IconVariants.h"
#include "controls/SharedIconStore.h"
#include "res/MenuTemplate.h"

#include <QFontMetrics>
#include <QPainter>

// Colours: menu = Window, window (XP text area) = Base, button face = Button, button shadow =
// Dark, button highlight = Light, menu text = WindowText, grey text = disabled WindowText.

namespace {

constexpr int kClassicMargin = 4;
constexpr int kXPMargin = 7;

// A rectangle from its edges, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// A one-pixel frame inside `rect`, light top and left, dark bottom and right.
void Frame3D(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(rect.x(), rect.y(), rect.width(), 1, topLeft);
    painter.fillRect(rect.x(), rect.y(), 1, rect.height(), topLeft);
    painter.fillRect(rect.x(), rect.bottom(), rect.width(), 1, bottomRight);
    painter.fillRect(rect.right(), rect.y(), 1, rect.height(), bottomRight);
}

void Frame(QPainter& painter, const QRect& rect, const QColor& colour)
{
    Frame3D(painter, rect, colour, colour);
}

// An etched line: shadow above highlight.
void EtchedLine(QPainter& painter, int left, int right, int y, const QPalette& palette)
{
    painter.fillRect(Edges(left, y, right, y + 1), palette.color(QPalette::Dark));
    painter.fillRect(Edges(left, y + 1, right, y + 2), palette.color(QPalette::Light));
}

// A disabled icon: its outline embossed in button highlight and shadow.
void DrawEmbossedIcon(QPainter& painter, int x, int y, const QImage& icon, const QPalette& palette)
{
    const auto outline = [&icon](const QColor& colour) {
        QImage image = icon.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter tint(&image);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(image.rect(), colour);
        return image;
    };
    painter.drawImage(x + 1, y + 1, outline(palette.color(QPalette::Light)));
    painter.drawImage(x, y, outline(palette.color(QPalette::Dark)));
}

// A tick of seven three-pixel strokes in the cell.
void DrawCheckMark(QPainter& painter, const QRect& cell, const QColor& colour)
{
    const int x = cell.center().x() - 3;
    const int y = cell.center().y() - 1;
    const int drops[7] = {0, 1, 2, 1, 0, -1, -2};
    for (int stroke = 0; stroke < 7; ++stroke)
        painter.fillRect(x + stroke, y + drops[stroke], 1, 3, colour);
}

// Single line, vertically centred, the ampersand as an underlined mnemonic; a part after a tab
// right-aligned short of `rightGap`.
void DrawItemText(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour, int rightGap)
{
    painter.setPen(colour);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const qsizetype firstTab = text.indexOf(QLatin1Char('\t'));
    painter.drawText(rect, flags | Qt::AlignLeft, firstTab < 0 ? text : text.left(firstTab));
    if (firstTab >= 0)
        painter.drawText(rect.adjusted(0, 0, -rightGap, 0), flags | Qt::AlignRight,
                         text.mid(text.lastIndexOf(QLatin1Char('\t')) + 1));
}

} // namespace

int CIconMenu::MenuBarHeight() const
{
    // The menu bar heights of the desktops these looks come from, raised for a large menu font
    // so that no text is clipped.
    const int desktop = look_ == MenuLook::XP ? 22 : 20;
    return std::max(desktop, QFontMetrics(menu_->font()).height() + 2);
}

QSize CIconMenu::MeasureItem(const MenuItemData& item) const
{
    const int margin = look_ == MenuLook::XP ? kXPMargin : kClassicMargin;
    // Qt hides an item of width 0, so a separator is one pixel wide; the menu is wider anyway.
    if (item.nFlags & MenuFlag::Separator)
        return {1, std::max(MenuBarHeight() / 2, (m_nIconHeight + margin) / 2)};
    const int textWidth = QFontMetrics(menu_->font()).horizontalAdvance(item.pszText);
    const int iconColumn = look_ == MenuLook::XP ? m_nIconWidth + margin + 8 : 2 * m_nIconWidth + 1;
    return {textWidth + iconColumn, std::max(MenuBarHeight(), m_nIconHeight + margin)};
}

void CIconMenu::DrawItem(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                         const QPalette& palette) const
{
    painter.save();
    painter.setFont(menu_->font());
    if (look_ == MenuLook::XP)
        DrawItemXP(painter, rect, item, state, palette);
    else
        DrawItemClassic(painter, rect, item, state, palette);
    painter.restore();
}

void CIconMenu::DrawItemClassic(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                                const QPalette& palette) const
{
    const QColor back = palette.color(QPalette::Window);
    const int left = rect.left();
    const int top = rect.top();
    const int right = left + rect.width();
    const int bottom = top + rect.height();
    painter.fillRect(rect, back);
    if (item.nFlags & MenuFlag::Separator) {
        EtchedLine(painter, left, right, top + (bottom - top) / 2, palette);
        return;
    }

    const QImage icon = SharedIconStore::instance().image(item.nSharedIcon);
    if (state.highlighted)
        painter.fillRect(icon.isNull() ? rect : Edges(left + m_nIconWidth + 5, top, right, bottom),
                         palette.color(QPalette::Highlight));

    const int d = std::max(0, (bottom - top - m_nIconHeight - 4) / 2);
    const QRect inner = Edges(left + 1, top + d + 1, left + m_nIconWidth + 3, top + d + m_nIconHeight + 3);
    const QRect outer = Edges(left, top + d, left + m_nIconWidth + 4, top + d + m_nIconHeight + 4);
    if (!icon.isNull()) {
        painter.fillRect(inner, back);
        if (state.checked)
            Frame3D(painter, outer, palette.color(QPalette::Dark), palette.color(QPalette::Light));
        else if (state.highlighted)
            Frame3D(painter, outer, palette.color(QPalette::Light), palette.color(QPalette::Dark));
        if (state.disabled)
            DrawEmbossedIcon(painter, left + 2, top + d + 2, icon, palette);
        else
            painter.drawImage(left + 2, top + d + 2, icon);
    } else if (state.checked) {
        DrawCheckMark(painter, inner, palette.color(state.highlighted ? QPalette::HighlightedText : QPalette::WindowText));
    }

    const QRect textRect = Edges(left + m_nIconWidth + 9, top - 1, right, bottom - 1);
    if (state.disabled) {
        DrawItemText(painter, textRect.translated(1, 1), item.pszText, palette.color(QPalette::Light), m_nIconWidth);
        const QColor grey = state.highlighted ? back : palette.color(QPalette::Disabled, QPalette::WindowText);
        DrawItemText(painter, textRect, item.pszText, grey, m_nIconWidth);
        return;
    }
    DrawItemText(painter, textRect, item.pszText,
                 palette.color(state.highlighted ? QPalette::HighlightedText : QPalette::WindowText), m_nIconWidth);
}

void CIconMenu::DrawItemXP(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                           const QPalette& palette) const
{
    const int columnWidth = m_nIconWidth + kXPMargin;
    const QColor window = palette.color(QPalette::Base);
    const QColor face = palette.color(QPalette::Button);
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor highlightFill = LightenColor(highlight, 0.7);
    const int left = rect.left();
    const int top = rect.top();
    const int right = left + rect.width();
    const int bottom = top + rect.height();
    // Disabled items are never highlighted in this look.
    const bool highlighted = state.highlighted && !state.disabled;

    if (highlighted) {
        painter.fillRect(rect, highlightFill);
        Frame(painter, rect, highlight);
    } else {
        painter.fillRect(rect, window);
        painter.fillRect(Edges(left, top, left + columnWidth, bottom), face);
    }
    if (item.nFlags & MenuFlag::Separator) {
        EtchedLine(painter, left + columnWidth + 7, right, top + (bottom - top) / 2, palette);
        return;
    }

    const int x = left + std::max(0, (columnWidth - m_nIconWidth + 1) / 2);
    const int y = top + std::max(0, (bottom - top - m_nIconHeight + 1) / 2);
    const SharedIconStore& store = SharedIconStore::instance();
    const QImage icon = store.image(item.nSharedIcon);
    if (state.checked) {
        const QRect square(x, y, 16, 16);
        painter.fillRect(square, LightenColor(highlight, 0.85));
        Frame(painter, square, highlight);
        if (icon.isNull())
            DrawCheckMark(painter, square, palette.color(QPalette::WindowText));
    }
    if (!icon.isNull()) {
        const bool variants = store.hasVariants(item.nSharedIcon);
        if (state.disabled) {
            DrawEmbossedIcon(painter, x, y, icon, palette);
        } else if (!variants) {
            painter.drawImage(x, y, icon);
        } else if (highlighted) {
            painter.drawImage(x + 1, y + 1, store.image(item.nSharedIcon + 2));
            painter.drawImage(x - 1, y - 1, icon);
        } else {
            painter.drawImage(x, y, store.image(item.nSharedIcon + 1));
        }
    }

    const QColor text = palette.color(state.disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
    DrawItemText(painter, Edges(left + columnWidth + 8, top - 1, right, bottom - 1), item.pszText, text,
                 m_nIconWidth);
}
