#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// Menu item flags as menu templates and menus carry them.
namespace MenuFlag {
constexpr uint32_t String = 0x0000;
constexpr uint32_t Popup = 0x0010;
constexpr uint32_t End = 0x0080; // the last item of its level
constexpr uint32_t OwnerDraw = 0x0100;
constexpr uint32_t ByPosition = 0x0400;
constexpr uint32_t Separator = 0x0800;
} // namespace MenuFlag

// One item of a menu template. A pop-up item has no command ID; its items follow it up to the
// one marked End. A separator is an item with ID 0 and no text.
struct MenuTemplateItem {
    uint32_t flags = 0;
    uint32_t id = 0;
    QString text;
};

// The items of menu resource `id` in template order; empty when there is no such menu.
QList<MenuTemplateItem> MenuResource(int id);
