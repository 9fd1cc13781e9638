#include "controls/CIconMenu.h"
#include "controls/IconMenuWidget.h"
#include "controls/IconVariants.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The context menu in `look`, open on screen, with the item at `position` highlighted.
struct OpenMenu {
    OpenMenu(MenuLook look, int highlighted) : menu(look)
    {
        menu.SetIconMaskColor(QColor(0xC0, 0xC0, 0xC0));
        menu.LoadMenu(188);
        menu.AssignToolbarIcons(188);
        widget = menu.GetSubMenu(0)->widget();
        widget->popup(QPoint(40, 40));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widget));
        widget->setActiveAction(widget->actions().at(highlighted));
        picture = widget->grab().toImage();
    }

    QRect item(int position) const { return widget->actionGeometry(widget->actions().at(position)); }
    QRgb at(int position, int x, int y) const { return picture.pixel(item(position).topLeft() + QPoint(x, y)); }
    QRgb colour(QPalette::ColorRole role) const { return widget->palette().color(role).rgb(); }

    CIconMenu menu;
    QMenu* widget = nullptr;
    QImage picture;
};

} // namespace

TEST(IconMenuPaint, ClassicHighlightCoversAnItemWithoutIconAndSparesTheIconColumnOtherwise)
{
    const OpenMenu edit(MenuLook::Classic, 3);
    const QRgb highlight = edit.colour(QPalette::Highlight);
    const QRgb menu = edit.colour(QPalette::Window);
    ASSERT_NE(highlight, menu);
    const int right = edit.item(3).width() - 1;
    for (const QPoint& p : {QPoint(0, 0), QPoint(2, 10), QPoint(20, 19), QPoint(right, 0), QPoint(right, 19)})
        EXPECT_EQ(edit.at(3, p.x(), p.y()), highlight) << p.x() << "," << p.y();
    EXPECT_EQ(edit.at(2, 0, 10), menu) << "the others are not highlighted";

    const OpenMenu update(MenuLook::Classic, 1);
    EXPECT_EQ(update.at(1, 21, 1), highlight);
    EXPECT_EQ(update.at(1, 20, 1), menu) << "the icon column keeps the menu colour";
    EXPECT_EQ(update.at(1, 0, 0), update.colour(QPalette::Light)) << "raised frame round the icon";
    EXPECT_EQ(update.at(1, 19, 19), update.colour(QPalette::Dark));
    // The separator's etched line along its middle.
    EXPECT_EQ(update.at(4, 10, 5), update.colour(QPalette::Dark));
    EXPECT_EQ(update.at(4, 10, 6), update.colour(QPalette::Light));
}

TEST(IconMenuPaint, XPPutsTheIconColumnInButtonFaceAndFramesTheHighlight)
{
    const OpenMenu remove(MenuLook::XP, 2);
    const QRgb face = remove.colour(QPalette::Button);
    const QRgb window = remove.colour(QPalette::Base);
    const QRgb highlight = remove.colour(QPalette::Highlight);
    ASSERT_NE(face, window);
    for (int position : {0, 3, 4, 5}) {
        EXPECT_EQ(remove.at(position, 1, 1), face) << position;
        EXPECT_EQ(remove.at(position, 22, 1), face) << position;
        EXPECT_EQ(remove.at(position, 23, 1), window) << position;
    }
    EXPECT_EQ(remove.at(2, 0, 0), highlight);
    EXPECT_EQ(remove.at(2, remove.item(2).width() - 1, 22), highlight);
    EXPECT_EQ(remove.at(2, 1, 1), LightenColor(QColor(highlight), 0.7).rgb());
    EXPECT_EQ(remove.at(2, 30, 1), LightenColor(QColor(highlight), 0.7).rgb());
    // The icon sits four pixels in: its cell's corner is background, its middle is drawn.
    EXPECT_EQ(remove.at(0, 3, 3), face);
    EXPECT_NE(remove.at(0, 11, 11), face);
}
