#include "platform/ui/Bitmap.h"

namespace platform {

static size_t pixelCount(int width, int height) {
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<size_t>(width) * static_cast<size_t>(height);
}

Bitmap Bitmap::indexed(int width, int height, std::vector<Color> palette) {
    Bitmap b;
    b.format_ = Format::Indexed;
    b.palette_ = std::move(palette);
    b.pixels_.assign(pixelCount(width, height), 0);
    b.width_ = b.pixels_.empty() ? 0 : width;
    b.height_ = b.pixels_.empty() ? 0 : height;
    return b;
}

Bitmap Bitmap::rgb(int width, int height) {
    Bitmap b;
    b.format_ = Format::Rgb;
    b.pixels_.assign(pixelCount(width, height) * 3, 0);
    b.width_ = b.pixels_.empty() ? 0 : width;
    b.height_ = b.pixels_.empty() ? 0 : height;
    return b;
}

Color Bitmap::pixel(int x, int y) const {
    const uint8_t* p = row(y) + static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel());
    if (format_ == Format::Rgb)
        return {p[0], p[1], p[2]};
    return *p < palette_.size() ? palette_[*p] : colors::Black;
}

} // namespace platform
