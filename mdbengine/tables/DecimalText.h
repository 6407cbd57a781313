#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mdbengine::file {

// A stored scaled decimal (a sign byte, then a 128-bit magnitude as four little-endian
// 32-bit words, the most significant first) as text: "-1110.554" for scale 3.
std::string decimalText(std::span<const std::uint8_t> stored, unsigned scale);

// A number written in decimal ("-12.5", " 3 ") rounded half away from zero to `scale`
// places, in the form decimalText gives ("-12.50"); none when it is no number or needs more
// than `precision` digits.
std::optional<std::string> scaledDecimalText(std::string_view text, unsigned precision,
                                             unsigned scale);

// The stored form of a decimal's text as scaledDecimalText gives it: the column's scale
// says where the point is.
std::vector<std::uint8_t> decimalBytes(std::string_view text);

} // namespace mdbengine::file
