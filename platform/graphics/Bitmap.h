#pragma once

#include "platform/graphics/Color.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// A picture in memory, rows from the top. A two-colour picture keeps one bit per pixel, eight
// to a byte from the left (a form page of seven million pixels takes under a megabyte); another
// paletted picture keeps one palette index per pixel; a true-colour one red, green and blue bytes.
class Bitmap {
public:
    enum class Format { Mono, Indexed, Rgb };

    Bitmap() = default;
    static Bitmap mono(int width, int height, std::vector<Color> palette);
    static Bitmap indexed(int width, int height, std::vector<Color> palette);
    static Bitmap rgb(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Format format() const { return format_; }
    // The bytes of one row.
    size_t rowBytes() const;
    const std::vector<Color>& palette() const { return palette_; }

    uint8_t* row(int y) { return pixels_.data() + rowOffset(y); }
    const uint8_t* row(int y) const { return pixels_.data() + rowOffset(y); }
    // The colour of a pixel; an index past the palette reads as black.
    Color pixel(int x, int y) const;

private:
    static Bitmap make(Format format, int width, int height, std::vector<Color> palette);
    size_t rowOffset(int y) const { return static_cast<size_t>(y) * rowBytes(); }

    int width_ = 0;
    int height_ = 0;
    Format format_ = Format::Rgb;
    std::vector<Color> palette_;
    std::vector<uint8_t> pixels_;
};

} // namespace platform
