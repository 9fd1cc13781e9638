#pragma once

#include "motion/Direction.h"

#include <QString>

// "stop", "up", "right", "down" or "left", as the state report names them.
inline QString directionName(Direction direction)
{
    static const char* const names[kDirectionCount] = {"stop", "up", "right", "down", "left"};
    return QLatin1String(names[direction >= 0 && direction < kDirectionCount ? direction : Stop]);
}
