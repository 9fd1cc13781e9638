#include "controls/IconVariants.h"
#include "controls/MenuLook.h"
#include "controls/PositionListMenu.h"
#include "controls/SharedIconStore.h"

#include <gtest/gtest.h>

#include <limits>

TEST(MenuRules, LookIsClassicOnlyForAClassicDesktopOrAPaletteDisplay)
{
    struct Case {
        MenuLookFacts facts;
        MenuLook look;
    };
    const Case cases[] = {
        {{{}, QStringLiteral("fusion"), {}, 24}, MenuLook::XP},
        {{{}, QStringLiteral("Windows"), {}, 24}, MenuLook::Classic},
        {{{}, QStringLiteral("windowsvista"), {}, 24}, MenuLook::XP},
        {{{}, QStringLiteral("fusion"), QStringLiteral("Adwaita:dark"), 24}, MenuLook::XP},
        {{{}, QStringLiteral("fusion"), QStringLiteral("Windows CLASSIC"), 24}, MenuLook::Classic},
        {{{}, QStringLiteral("fusion"), QStringLiteral("redmond-classic:dark"), 24}, MenuLook::Classic},
        {{{}, QStringLiteral("fusion"), QStringLiteral("Classical"), 24}, MenuLook::XP},
        {{{}, QStringLiteral("fusion"), {}, 8}, MenuLook::Classic},
        {{{}, QStringLiteral("fusion"), {}, 16}, MenuLook::XP},
        {{QStringLiteral("classic"), QStringLiteral("fusion"), {}, 24}, MenuLook::Classic},
        {{QStringLiteral(" XP "), QStringLiteral("windows"), {}, 8}, MenuLook::XP},
        {{QStringLiteral("luna"), QStringLiteral("windows"), {}, 24}, MenuLook::Classic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseMenuLook(c.facts), c.look)
            << c.facts.lookOverride.toStdString() << "|" << c.facts.styleName.toStdString() << "|"
            << c.facts.themeName.toStdString() << "|" << c.facts.displayDepth;
}

TEST(MenuRules, LightenColorMovesTowardsWhiteOnlyForFactorsUpToOne)
{
    struct Case {
        QColor colour;
        double factor;
        QColor expected;
    };
    const QColor highlight(0x31, 0x6A, 0xC5);
    const Case cases[] = {
        {highlight, 0.7, QColor(193, 210, 237)}, // 49 + 0.7 * 206 = 193.2
        {QColor(0, 0, 0), 0.3, QColor(76, 76, 76)},
        {QColor(10, 200, 255), 1.0, QColor(255, 255, 255)},
        {highlight, 0.0, highlight},
        {highlight, -0.5, highlight},
        {highlight, 1.01, highlight},
        {highlight, std::numeric_limits<double>::quiet_NaN(), highlight},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LightenColor(c.colour, c.factor), c.expected) << c.factor;
}

TEST(MenuRules, TheMenuOpensOnlyOnTheListOutsideThePatrolAndNeverFromTheKeyboard)
{
    const QRect list(QPoint(-300, -40), QSize(400, 300)); // reaches over the screen's origin
    struct Case {
        bool automatic;
        QPoint point;
        bool opens;
    };
    const Case cases[] = {
        {false, {10, 10}, true},   {true, {10, 10}, false},   {false, {99, 259}, true},
        {false, {100, 10}, false}, {false, {10, 260}, false}, {false, {-1, -1}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContextMenuOpens(c.automatic, list, c.point), c.opens) << c.point.x() << "," << c.point.y();
}

TEST(MenuRules, StoreReplacesAnIconAndItsVariantsInPlace)
{
    const auto filled = [](QSize size, QColor colour) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    };
    const QSize size(16, 16);
    SharedIconStore store;
    EXPECT_EQ(store.put(300, {filled(size, Qt::red), filled(size, Qt::green), filled(size, Qt::blue)}), 0);
    EXPECT_EQ(store.put(301, {filled(size, Qt::red)}), 3);
    EXPECT_TRUE(store.hasVariants(0));
    EXPECT_FALSE(store.hasVariants(3));

    EXPECT_EQ(store.put(300, {filled(size, Qt::black), filled(size, Qt::white), filled(size, Qt::gray)}), 0);
    EXPECT_EQ(store.put(301, {filled(size, Qt::black), filled(size, Qt::white), filled(size, Qt::gray)}), 3);
    EXPECT_EQ(store.count(), 4) << "variants are not added to an icon stored without them";
    EXPECT_EQ(store.image(0).pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(store.image(2).pixelColor(0, 0), QColor(Qt::gray));
    EXPECT_EQ(store.image(3).pixelColor(0, 0), QColor(Qt::black));

    EXPECT_EQ(store.put(302, {filled(QSize(16, 15), Qt::red)}), -1);
    EXPECT_EQ(store.put(302, {QImage()}), -1);
    EXPECT_EQ(store.count(), 4);
    EXPECT_TRUE(store.image(4).isNull());
}

TEST(MenuRules, VariantsRecolourOnlyWhatDiffersFromTheFace)
{
    const QColor face(0xEF, 0xEF, 0xEF);
    QImage icon(2, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(0, 0, 0, 0));
    icon.setPixel(1, 0, qRgb(0, 0, 100));
    const QImage faded = RecolouredIcon(icon, face, [](const QColor& c) { return LightenColor(c, 0.3); });
    EXPECT_EQ(qAlpha(faded.pixel(0, 0)), 0);
    EXPECT_EQ(faded.pixelColor(1, 0), QColor(76, 76, 146));
}
