#pragma once

#include <optional>
#include <string_view>

namespace platform {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The size in pixels of a JPEG, PNG or BMP picture, read from its header alone; none for
// other or damaged data.
std::optional<PixelSize> pictureSize(std::string_view bytes);

} // namespace platform
