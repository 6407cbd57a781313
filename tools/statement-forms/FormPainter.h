#pragma once

#include "tools/statement-forms/FormDescription.h"

#include <QImage>

namespace formgen {

// The page images are drawn at 300 pixels per inch over the part of the page the statement
// stretches them across at 600 dpi: from 6 points in, 582 by 756 points.
inline constexpr double ImageLeft = 6.0;
inline constexpr double ImageTop = 6.0;
inline constexpr int ImageWidth = 2425;
inline constexpr int ImageHeight = 3150;
inline constexpr double PixelsPerPoint = 300.0 / 72.0;

// Draws one page (0 or 1) of a form in black on white, one bit per pixel.
QImage paintPage(const FormSpec& form, int page);

} // namespace formgen
