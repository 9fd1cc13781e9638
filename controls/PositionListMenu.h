#pragma once

#include "controls/CIconMenu.h"

#include <QPoint>
#include <QRect>

#include <memory>

class QWidget;

// The context menu of the position list: menu 188 with the icons of toolbar 188, whose bitmap
// has silver as its transparent colour.
std::unique_ptr<CIconMenu> BuildPositionListMenu();

// Whether a context-menu request at `globalPos` opens the menu: never during the patrol, only
// inside the list's rectangle (screen coordinates), and never for the keyboard's menu key,
// which arrives as (-1, -1).
bool ContextMenuOpens(bool automaticMode, const QRect& listRectGlobal, const QPoint& globalPos);

// Runs the menu with its left edge at `globalPos` until it closes; the chosen command
// (300, 301, 302, 400, 450) or 0. `owner` is the window the menu stands above.
int ShowPositionListMenu(QWidget* owner, const QPoint& globalPos);

// Opens the menu at `globalPos` without waiting, `highlightedCommand`'s item highlighted (for
// screenshots); the menu stays open while the result lives.
std::unique_ptr<CIconMenu> PopupPositionListMenu(const QPoint& globalPos, uint32_t highlightedCommand = 0);
