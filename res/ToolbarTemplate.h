#pragma once

#include <QList>

#include <cstdint>
#include <optional>

// A toolbar resource: its buttons' size and one command ID per button (0 = a gap). Its images
// are the bitmap resource of the same ID, cut into pieces of the button width from the left.
struct ToolbarTemplate {
    int version = 1;
    int buttonWidth = 16;
    int buttonHeight = 16;
    QList<uint32_t> commands;
};

// Toolbar resource `id`; nothing when there is no such toolbar.
std::optional<ToolbarTemplate> ToolbarResource(int id);
