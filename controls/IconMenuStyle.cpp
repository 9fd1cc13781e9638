#include "controls/IconMenuStyle.h"

#include "controls/CIconMenu.h"
#include "controls/IconMenuWidget.h"

#include <QAction>
#include <QApplication>
#include <QStyleOptionMenuItem>

namespace {

struct OwnedItem {
    const CIconMenu* menu = nullptr;
    const MenuItemData* item = nullptr;
};

// The CIconMenu and record behind an option, when it is an owner-drawn item.
OwnedItem OwnedItemOf(const QStyleOption* option, const QWidget* widget)
{
    const auto* menu = qobject_cast<const IconMenuWidget*>(widget);
    const auto* action = qobject_cast<const QAction*>(option ? option->styleObject : nullptr);
    if (!menu || !action)
        return {};
    return {&menu->owner(), menu->owner().ItemOf(action)};
}

} // namespace

IconMenuStyle* IconMenuStyle::instance()
{
    static IconMenuStyle* style = [] {
        auto* created = new IconMenuStyle;
        created->setParent(qApp);
        return created;
    }();
    return style;
}

int IconMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize IconMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const
{
    if (type == CT_MenuItem) {
        const OwnedItem owned = OwnedItemOf(option, widget);
        if (owned.item)
            return owned.menu->MeasureItem(*owned.item);
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void IconMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const
{
    if (element == CE_MenuItem) {
        const OwnedItem owned = OwnedItemOf(option, widget);
        if (owned.item) {
            const auto* menuOption = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            CIconMenu::ItemState state;
            state.highlighted = option->state.testFlag(State_Selected);
            state.disabled = !option->state.testFlag(State_Enabled);
            state.checked = menuOption && menuOption->checked;
            owned.menu->DrawItem(*painter, option->rect, *owned.item, state, option->palette);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
