#pragma once

#include "platform/graphics/Color.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace xls {

// Colours are palette indexes 0 to 64; these have names.
namespace color {
constexpr uint8_t Black = 8;
constexpr uint8_t White = 9;
constexpr uint8_t Red = 10;
constexpr uint8_t BrightGreen = 11;
constexpr uint8_t Blue = 12;
constexpr uint8_t Yellow = 13;
constexpr uint8_t Pink = 14;
constexpr uint8_t Turquoise = 15;
constexpr uint8_t Automatic = 64;
} // namespace color

using Palette = std::array<platform::Color, 65>;

// The 65 colours of a new workbook: eight fixed ones, the 56 of the palette records and the
// automatic (window text) colour.
const Palette& defaultPalette();

} // namespace xls
