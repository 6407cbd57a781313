#pragma once

// Binary-coded decimals as the engine keeps them: 34 bytes, the precision (digits, at most
// 32), the sign (0x80) with the places after the point (low six bits), then the digits two
// to a byte, most significant first.

#include "accessdb/engine/PackedBytes.h"

#include <array>
#include <optional>
#include <string>

namespace accessdb {

using BcdBytes = std::array<Byte, 34>;
inline constexpr int MaxBcdDigits = 32;

// A decimal text ("-1234.5") with `places` digits after the point (rounded half away from
// zero) in `precision` digits; none when the text is no decimal number or its whole part
// needs more digits than the precision leaves.
std::optional<BcdBytes> bcdFromText(const std::string& text, int precision, int places);
// The number as decimal text, with its places ("-1234.50"); "0" for a zero without places.
std::string bcdToText(const Byte* bcd);

} // namespace accessdb
