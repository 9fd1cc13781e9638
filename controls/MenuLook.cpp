#include "controls/MenuLook.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

MenuLook ChooseMenuLook(const MenuLookFacts& facts)
{
    const QString forced = facts.lookOverride.trimmed();
    if (forced.compare(QLatin1String("classic"), Qt::CaseInsensitive) == 0)
        return MenuLook::Classic;
    if (forced.compare(QLatin1String("xp"), Qt::CaseInsensitive) == 0)
        return MenuLook::XP;
    if (facts.displayDepth <= 8)
        return MenuLook::Classic;
    if (facts.styleName.compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0)
        return MenuLook::Classic;
    const QString theme = facts.themeName.section(QLatin1Char(':'), 0, 0).trimmed();
    return theme.endsWith(QLatin1String("classic"), Qt::CaseInsensitive) ? MenuLook::Classic : MenuLook::XP;
}

MenuLook CurrentMenuLook()
{
    static const MenuLook look = [] {
        MenuLookFacts facts;
        facts.lookOverride = qEnvironmentVariable("PANTIRO_MENU_LOOK");
        facts.styleName = QApplication::style()->name();
        facts.themeName = qEnvironmentVariable("GTK_THEME");
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            facts.displayDepth = screen->depth();
        return ChooseMenuLook(facts);
    }();
    return look;
}
