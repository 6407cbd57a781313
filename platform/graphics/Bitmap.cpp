#include "platform/graphics/Bitmap.h"

namespace platform {

size_t Bitmap::rowBytes() const {
    size_t width = static_cast<size_t>(width_);
    switch (format_) {
    case Format::Mono:
        return (width + 7) / 8;
    case Format::Indexed:
        return width;
    case Format::Rgb:
        return width * 3;
    }
    return 0;
}

Bitmap Bitmap::make(Format format, int width, int height, std::vector<Color> palette) {
    Bitmap b;
    b.format_ = format;
    b.palette_ = std::move(palette);
    if (width <= 0 || height <= 0)
        return b;
    b.width_ = width;
    b.height_ = height;
    b.pixels_.assign(b.rowBytes() * static_cast<size_t>(height), 0);
    return b;
}

Bitmap Bitmap::mono(int width, int height, std::vector<Color> palette) {
    return make(Format::Mono, width, height, std::move(palette));
}

Bitmap Bitmap::indexed(int width, int height, std::vector<Color> palette) {
    return make(Format::Indexed, width, height, std::move(palette));
}

Bitmap Bitmap::rgb(int width, int height) {
    return make(Format::Rgb, width, height, {});
}

Color Bitmap::pixel(int x, int y) const {
    const uint8_t* p = row(y);
    size_t at = static_cast<size_t>(x);
    uint8_t index = 0;
    switch (format_) {
    case Format::Rgb:
        p += at * 3;
        return {p[0], p[1], p[2]};
    case Format::Mono:
        index = (p[at / 8] >> (7 - at % 8)) & 1;
        break;
    case Format::Indexed:
        index = p[at];
        break;
    }
    return index < palette_.size() ? palette_[index] : colors::Black;
}

} // namespace platform
