#include "controls/CIconMenu.h"

#include "controls/IconMenuWidget.h"
#include "controls/IconVariants.h"
#include "controls/ImageList.h"
#include "controls/SharedIconStore.h"
#include "res/MenuTemplate.h"
#include "res/Resources.h"
#include "res/ToolbarTemplate.h"

#include <QAction>

int CIconMenu::AssignToolbarIcons(int resourceId)
{
    const std::optional<ToolbarTemplate> toolbar = ToolbarResource(resourceId);
    if (!toolbar)
        return 0;
    RaiseIconSize(toolbar->buttonWidth, toolbar->buttonHeight);

    const QPixmap bitmap = BitmapResource(resourceId);
    if (bitmap.isNull())
        return 0;
    const QColor transparent = m_bIconMaskSet ? m_clrIconMask : Palette().color(QPalette::Button);
    ImageList images(IconSize());
    images.addStrip(QPixmap::fromImage(WithTransparentColour(bitmap.toImage(), transparent)));

    int imageNumber = 0;
    for (int position = 0; position < toolbar->commands.size(); ++position) {
        const uint32_t id = toolbar->commands[position];
        if (id == 0)
            continue;
        // A button numbered 0 takes the image at its position, gaps counted.
        const int number = imageNumber++;
        if (!FindItemByCommand(id).isEmpty())
            SetItemIcon(id, images, number != 0 ? number : position);
    }
    return 1;
}

void CIconMenu::RaiseIconSize(int width, int height)
{
    // The pop-ups measure and draw their own items, so they take the toolbar's size too:
    // otherwise the 16-pixel icons would be placed as if 15 high.
    m_nIconWidth = std::max(m_nIconWidth, width);
    m_nIconHeight = std::max(m_nIconHeight, height);
    for (const auto& subMenu : m_aSubMenus)
        subMenu->RaiseIconSize(width, height);
}

bool CIconMenu::SetItemIcon(uint32_t id, const ImageList& images, int index)
{
    const QList<ItemPlace> places = FindItemByCommand(id);
    for (const ItemPlace& place : places) {
        MenuItemData* item = place.menu->RecordAt(place.position);
        item->nSharedIcon = AddSharedIcon(images, index, id);
        item->nFlags = (item->nFlags & ~MenuFlag::ByPosition) | MenuFlag::OwnerDraw;
    }
    return !places.isEmpty();
}

QList<CIconMenu::ItemPlace> CIconMenu::FindItemByCommand(uint32_t id)
{
    QList<ItemPlace> places;
    if (!menu_)
        return places;
    const QList<QAction*> actions = menu_->actions();
    for (int position = 0; position < actions.size(); ++position) {
        if (CIconMenu* subMenu = GetSubMenu(position))
            places += subMenu->FindItemByCommand(id);
        const MenuItemData* item = RecordAt(position);
        if (item && item->nID == id && !(item->nFlags & (MenuFlag::Separator | MenuFlag::Popup)))
            places.append({this, position});
    }
    return places;
}

int CIconMenu::FindSharedIcon(uint32_t id)
{
    return SharedIconStore::instance().find(id);
}

int CIconMenu::AddSharedIcon(const ImageList& images, int index, uint32_t id) const
{
    const QImage icon = images.image(index).toImage();
    if (icon.isNull())
        return -1;
    QList<QImage> stored{icon};
    if (look_ == MenuLook::XP) {
        const QPalette palette = Palette();
        const QColor face = palette.color(QPalette::Button);
        const QColor shadow = palette.color(QPalette::Dark);
        stored << RecolouredIcon(icon, face, [](const QColor& colour) { return LightenColor(colour, 0.3); })
               << RecolouredIcon(icon, face, [shadow](const QColor&) { return shadow; });
    }
    return SharedIconStore::instance().put(id, stored);
}
