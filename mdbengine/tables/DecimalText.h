#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mdbengine::file {

// A stored scaled decimal (a sign byte, then a 128-bit magnitude as four little-endian
// 32-bit words, the most significant first) as text: "-1110.554" for scale 3.
std::string decimalText(std::span<const std::uint8_t> stored, unsigned scale);

} // namespace mdbengine::file
