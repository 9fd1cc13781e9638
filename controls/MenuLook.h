#pragma once

#include <QString>

// The two looks of the owner-drawn menu: classic (flat menu colour, raised frame round the
// highlighted icon) and XP (text on the window colour, icon column in button face).
enum class MenuLook { Classic, XP };

// What the look is chosen from.
struct MenuLookFacts {
    QString lookOverride; // PANTIRO_MENU_LOOK: "classic" or "xp" wins over everything else
    QString styleName;    // the Qt style; its "windows" style is the classic desktop
    QString themeName;    // the desktop theme (GTK_THEME, "name:variant")
    int displayDepth = 24;
};

// Classic on a palette display (8 bits or fewer), under Qt's "windows" style, or when the theme
// name ends in "classic" in any letter case; XP otherwise.
MenuLook ChooseMenuLook(const MenuLookFacts& facts);

// The look of every menu of this run, chosen on first use from the environment, the
// application's style and the primary screen.
MenuLook CurrentMenuLook();
