#include "res/ToolbarTemplate.h"

std::optional<ToolbarTemplate> ToolbarResource(int id)
{
    if (id != 188)
        return std::nullopt;
    // The icons of the position list's context menu: New, Update, Remove, go to position.
    return ToolbarTemplate{1, 16, 16, {300, 301, 302, 450}};
}
