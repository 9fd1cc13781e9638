#pragma once

#include <QColor>
#include <QImage>

#include <functional>

// Moves each of red, green and blue by `factor` of its distance towards white (truncated);
// unchanged unless 0 < factor <= 1.
QColor LightenColor(const QColor& colour, double factor);

// `icon` drawn on `face`, every pixel that then differs from `face` replaced by `recolour` of
// it, and `face` made transparent again.
QImage RecolouredIcon(const QImage& icon, const QColor& face, const std::function<QColor(const QColor&)>& recolour);

// `image` with every pixel of `colour` transparent.
QImage WithTransparentColour(const QImage& image, const QColor& colour);
