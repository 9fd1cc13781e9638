#include "platform/DialogTemplate.h"

#include <cmath>

namespace {

// MulDiv's rounding: halves away from zero.
int scaled(int units, int numerator, int denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * numerator / denominator));
}

} // namespace

int DialogUnitsToPixelsX(int units)
{
    return scaled(units, 6, 4);
}

int DialogUnitsToPixelsY(int units)
{
    return scaled(units, 13, 8);
}

QRect DialogUnitsToPixels(int x, int y, int width, int height)
{
    return {DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
            DialogUnitsToPixelsY(height)};
}
