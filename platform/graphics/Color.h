#pragma once

#include <cstdint>

namespace platform {

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color Black{0, 0, 0};
inline constexpr Color White{255, 255, 255};
inline constexpr Color Teal{0, 128, 128};
inline constexpr Color Yellow{255, 255, 0};
inline constexpr Color Silver{192, 192, 192};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Lime{0, 255, 0};
} // namespace colors

} // namespace platform
