#pragma once

#include "core/PointScale.h"
#include "platform/graphics/Canvas.h"

#include <string>
#include <string_view>

namespace quillan {

// The Interleaved 2 of 5 symbol of a tray or sack tag and the slanted automation stripes
// beside it, drawn in points converted to device units with the printout's scale. The
// caller decides whether to draw at all (pages out of range draw nothing).

// The five elements of a digit: "N" narrow, "W" wide. Throws ConvertError for anything
// that is not one decimal digit.
std::string Interleaved2of5Pattern(std::string_view digit);

// Draws the symbol with its top-left corner at device (x, y): a start pattern, the digits
// in pairs (the first digit's pattern in bars, the second's in the spaces between them), a
// stop pattern; bars 52 pt high, narrow elements 1 pt, wide ones 3 pt. No check digit; a
// text of odd length loses its last digit. The whole text is checked before anything is
// drawn: a non-digit throws ConvertError with the canvas untouched. Leaves the brush white.
void DrawInterleaved2of5(platform::Canvas& canvas, const PointScale& scale, std::string_view digits,
                         int x, int y);

// Four stripes 12 pt wide and 23 pt high leaning right, 24 pt apart, standing on device
// baseline y from device x on. Leaves the brush white.
void DrawAutomationStripes(platform::Canvas& canvas, const PointScale& scale, int x, int y);

} // namespace quillan
