#include "controls/CIconMenu.h"
#include "controls/IconMenuWidget.h"
#include "controls/IconVariants.h"
#include "controls/SharedIconStore.h"
#include "res/MenuTemplate.h"
#include "res/Resources.h"

#include <QAction>
#include <QFontMetrics>
#include <QPointer>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CIconMenu> ContextMenu(MenuLook look)
{
    auto menu = std::make_unique<CIconMenu>(look);
    menu->SetIconMaskColor(QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(menu->LoadMenu(188), 1);
    EXPECT_EQ(menu->AssignToolbarIcons(188), 1);
    return menu;
}

} // namespace

TEST(IconMenu, LoadMenuBuildsAPlainTopLevelOverAnOwnerDrawnPopup)
{
    CIconMenu menu(MenuLook::Classic);
    EXPECT_EQ(menu.LoadMenu(187), 0);
    EXPECT_EQ(menu.widget(), nullptr);
    ASSERT_EQ(menu.LoadMenu(188), 1);

    ASSERT_EQ(menu.widget()->actions().size(), 1);
    EXPECT_EQ(menu.ItemAt(0), nullptr) << "the top level is plain";
    EXPECT_EQ(menu.widget()->actions().first()->text(), QStringLiteral("0"));
    EXPECT_EQ(menu.GetSubMenu(1), nullptr);
    CIconMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);

    struct Expected {
        uint32_t id;
        const char* text;
        bool separator;
    };
    const Expected expected[] = {{300, "&Neu ...", false},         {301, "&Aktualisieren ...", false},
                                 {302, "&Entfernen ...", false},   {400, "&Bearbeiten ...", false},
                                 {0, "", true},                    {450, "&Position anfahren", false}};
    ASSERT_EQ(popup->widget()->actions().size(), 6);
    for (int position = 0; position < 6; ++position) {
        const MenuItemData* item = popup->ItemAt(position);
        ASSERT_NE(item, nullptr) << position;
        EXPECT_EQ(item->nID, expected[position].id) << position;
        EXPECT_EQ(item->pszText, QString::fromUtf8(expected[position].text)) << position;
        EXPECT_TRUE(item->nFlags & MenuFlag::OwnerDraw) << position;
        EXPECT_EQ((item->nFlags & MenuFlag::Separator) != 0, expected[position].separator) << position;
        EXPECT_EQ(popup->widget()->actions().at(position)->isSeparator(), expected[position].separator);
    }

    // Loading again starts over rather than appending.
    ASSERT_EQ(menu.LoadMenu(188), 1);
    EXPECT_EQ(menu.GetSubMenu(0)->widget()->actions().size(), 6);
}

TEST(IconMenu, ToolbarIconsGoToTheirCommandsAndReopeningNeverGrowsTheStore)
{
    for (MenuLook look : {MenuLook::Classic, MenuLook::XP}) {
        auto first = ContextMenu(look);
        const int stored = SharedIconStore::instance().count();
        for (int reopen = 0; reopen < 3; ++reopen) {
            auto menu = ContextMenu(look);
            EXPECT_EQ(SharedIconStore::instance().count(), stored);
            const CIconMenu* popup = menu->GetSubMenu(0);
            EXPECT_EQ(popup->IconSize(), QSize(16, 16));
            for (int position : {0, 1, 2, 5}) {
                const MenuItemData* item = popup->ItemAt(position);
                EXPECT_EQ(item->nSharedIcon, CIconMenu::FindSharedIcon(item->nID)) << position;
                EXPECT_EQ(SharedIconStore::instance().image(item->nSharedIcon).size(), QSize(16, 16));
            }
            EXPECT_EQ(popup->ItemAt(3)->nSharedIcon, -1) << "400 has no toolbar button";
            EXPECT_EQ(popup->ItemAt(4)->nSharedIcon, -1);
        }
        // The four icons are distinct images and silver is transparent in each.
        const QImage newIcon = SharedIconStore::instance().image(CIconMenu::FindSharedIcon(300));
        EXPECT_NE(newIcon, SharedIconStore::instance().image(CIconMenu::FindSharedIcon(450)));
        EXPECT_EQ(qAlpha(newIcon.pixel(0, 0)), 0);
        // Each command shows its own button's slice of the bitmap, silver made transparent.
        const uint32_t buttons[] = {300, 301, 302, 450};
        constexpr QImage::Format kArgb = QImage::Format_ARGB32;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(SharedIconStore::instance().image(CIconMenu::FindSharedIcon(buttons[i])).convertedTo(kArgb),
                      WithTransparentColour(BitmapResource(188).toImage().copy(16 * i, 0, 16, 16), 0xC0C0C0u));
    }
}

TEST(IconMenu, ItemsAreMeasuredPerLookAndTheQtMenuLaysThemOutSo)
{
    struct Case {
        MenuLook look;
        int itemHeight;
        int separatorHeight;
        int iconColumn;
    };
    for (const Case& c : {Case{MenuLook::Classic, 20, 10, 33}, Case{MenuLook::XP, 23, 11, 31}}) {
        auto menu = ContextMenu(c.look);
        CIconMenu* popup = menu->GetSubMenu(0);
        QMenu* widget = popup->widget();
        const QFontMetrics metrics(widget->font());
        int widest = 0;
        for (int position = 0; position < 6; ++position) {
            const MenuItemData* item = popup->ItemAt(position);
            const QSize size = popup->MeasureItem(*item);
            const bool separator = item->nFlags & MenuFlag::Separator;
            EXPECT_EQ(size.height(), separator ? c.separatorHeight : c.itemHeight) << position;
            if (!separator) {
                EXPECT_EQ(size.width(), metrics.horizontalAdvance(item->pszText) + c.iconColumn) << position;
            }
            widest = std::max(widest, size.width());
            EXPECT_EQ(widget->actionGeometry(widget->actions().at(position)).height(), size.height()) << position;
        }
        const int panel = widget->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, widget);
        EXPECT_EQ(widget->sizeHint(), QSize(widest + 2 * panel, 5 * c.itemHeight + c.separatorHeight + 2 * panel));
    }
}

TEST(IconMenu, DestroyMenuFreesTheTreeButKeepsTheSharedIcons)
{
    auto menu = ContextMenu(MenuLook::XP);
    const int stored = SharedIconStore::instance().count();
    QPointer<QMenu> popup = menu->GetSubMenu(0)->widget();
    menu->DestroyMenu();
    EXPECT_EQ(menu->widget(), nullptr);
    EXPECT_EQ(menu->GetSubMenu(0), nullptr);
    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(SharedIconStore::instance().count(), stored);
    EXPECT_GE(CIconMenu::FindSharedIcon(450), 0);
}
