#pragma once

#include <QString>

#include <cstdint>

// What a menu keeps of each item it appends, for measuring and drawing it.
struct MenuItemData {
    QString pszText;      // as in the menu template: mnemonic ampersand and tab part included
    int nSharedIcon = -1; // index in the shared icon store; -1 = no icon
    uint32_t nFlags = 0;  // MenuFlag bits: OwnerDraw always, Separator, Popup
    uint32_t nID = 0;     // command ID; 0 for separators and pop-ups
};
