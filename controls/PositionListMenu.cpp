#include "controls/PositionListMenu.h"

#include "controls/IconMenuWidget.h"

#include <QWidget>
#include <QWindow>

namespace {

constexpr int kMenuResource = 188;

} // namespace

std::unique_ptr<CIconMenu> BuildPositionListMenu()
{
    auto menu = std::make_unique<CIconMenu>();
    menu->SetIconMaskColor(QColor(0xC0, 0xC0, 0xC0));
    // Whatever part loads is shown.
    menu->LoadMenu(kMenuResource);
    menu->AssignToolbarIcons(kMenuResource);
    return menu;
}

bool ContextMenuOpens(bool automaticMode, const QRect& listRectGlobal, const QPoint& globalPos)
{
    return !automaticMode && globalPos != QPoint(-1, -1) && listRectGlobal.contains(globalPos);
}

int ShowPositionListMenu(QWidget* owner, const QPoint& globalPos)
{
    const std::unique_ptr<CIconMenu> menu = BuildPositionListMenu();
    const CIconMenu* popup = menu->GetSubMenu(0);
    if (!popup)
        return 0;
    QMenu* widget = popup->widget();
    if (owner && owner->window()->windowHandle()) {
        widget->createWinId();
        widget->windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    return static_cast<int>(CIconMenu::CommandOf(widget->exec(globalPos)));
}

std::unique_ptr<CIconMenu> PopupPositionListMenu(const QPoint& globalPos, uint32_t highlightedCommand)
{
    std::unique_ptr<CIconMenu> menu = BuildPositionListMenu();
    CIconMenu* popup = menu->GetSubMenu(0);
    if (!popup)
        return menu;
    popup->widget()->popup(globalPos);
    const QList<CIconMenu::ItemPlace> places = popup->FindItemByCommand(highlightedCommand);
    if (!places.isEmpty())
        popup->widget()->setActiveAction(places.first().menu->widget()->actions().at(places.first().position));
    return menu;
}
