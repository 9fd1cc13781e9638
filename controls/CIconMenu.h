#pragma once

#include "controls/MenuItemData.h"
#include "controls/MenuLook.h"

#include <QColor>
#include <QList>
#include <QPalette>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class ImageList;
class IconMenuWidget;
class QAction;
class QPainter;

// A menu whose pop-up items are owner-drawn: a column of 16 x 16 icons from a toolbar at the
// left, drawn in the run's look. Built from a menu template; each pop-up level is a CIconMenu
// of its own, owned by its parent. The Qt menu behind it exists once a menu is loaded.
class CIconMenu {
public:
    // Where an item occurs: its menu and position there.
    struct ItemPlace {
        CIconMenu* menu = nullptr;
        int position = 0;
    };
    // How an item is drawn.
    struct ItemState {
        bool highlighted = false;
        bool disabled = false;
        bool checked = false;
    };

    explicit CIconMenu(MenuLook look = CurrentMenuLook());
    ~CIconMenu();
    CIconMenu(const CIconMenu&) = delete;
    CIconMenu& operator=(const CIconMenu&) = delete;

    // The transparent colour of toolbar bitmaps; without it, the palette's button colour.
    void SetIconMaskColor(const QColor& colour);
    // Builds the menu from menu resource `resourceId`; 0 when there is none.
    int LoadMenu(int resourceId);
    // Gives the items the icons of toolbar resource `resourceId`; 0 when the toolbar or its
    // bitmap is missing.
    int AssignToolbarIcons(int resourceId);
    // The pop-up at `position`, or null.
    CIconMenu* GetSubMenu(int position) const;
    // Appends an owner-drawn item: a separator for ID 0, a pop-up when `subMenu` is given
    // (then owned by this menu). False when there is no menu yet.
    bool AppendOwnerDrawnItem(const QString& text, uint32_t flags, uint32_t id,
                              std::unique_ptr<CIconMenu> subMenu = nullptr);
    // Gives every item with command `id` image `index` of `images`; false when none has it.
    bool SetItemIcon(uint32_t id, const ImageList& images, int index);
    // Every owner-drawn item with command `id`, depth-first through the pop-ups.
    QList<ItemPlace> FindItemByCommand(uint32_t id);
    // Frees the items, the pop-ups and the menu; the shared icons stay.
    void DestroyMenu();

    static int FindSharedIcon(uint32_t id);
    // Stores image `index` of `images` under `id` (with its variants in the XP look); its index
    // in the shared store, or -1.
    int AddSharedIcon(const ImageList& images, int index, uint32_t id) const;

    QSize MeasureItem(const MenuItemData& item) const;
    void DrawItem(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                  const QPalette& palette) const;

    // The Qt menu, null before a menu is loaded.
    IconMenuWidget* widget() const { return menu_.get(); }
    // The record of an owner-drawn item of this menu; null for a plain item or a foreign one.
    const MenuItemData* ItemOf(const QAction* action) const;
    const MenuItemData* ItemAt(int position) const;
    // The command of a chosen action of any CIconMenu; 0 for none.
    static uint32_t CommandOf(const QAction* action);

    MenuLook look() const { return look_; }
    QSize IconSize() const { return {m_nIconWidth, m_nIconHeight}; }

private:
    void CreateMenu();
    // Pads the part before the tab of every item that has one to a common width.
    void AlignTabs();
    void RaiseIconSize(int width, int height);
    void MakePlain(int position);
    MenuItemData* RecordAt(int position) const;
    QPalette Palette() const;
    int MenuBarHeight() const;
    void DrawItemClassic(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                         const QPalette& palette) const;
    void DrawItemXP(QPainter& painter, const QRect& rect, const MenuItemData& item, ItemState state,
                    const QPalette& palette) const;

    std::vector<std::unique_ptr<MenuItemData>> m_aItems;
    std::vector<std::unique_ptr<CIconMenu>> m_aSubMenus;
    int m_nIconWidth = 16;
    int m_nIconHeight = 15;
    QColor m_clrIconMask{0xC0, 0xC0, 0xC0};
    bool m_bIconMaskSet = false;

    MenuLook look_;
    std::unique_ptr<IconMenuWidget> menu_;
};
