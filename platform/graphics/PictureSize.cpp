#include "platform/graphics/PictureSize.h"

#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {

uint32_t bigEndian(std::string_view bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint32_t littleEndian(std::string_view bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

std::optional<PixelSize> pngSize(std::string_view bytes) {
    // The signature, then the IHDR chunk: length, type, width, height.
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    return PixelSize{static_cast<int>(bigEndian(bytes, 16, 4)),
                     static_cast<int>(bigEndian(bytes, 20, 4))};
}

// The first start-of-frame segment holds the size; segments before it are stepped over.
std::optional<PixelSize> jpegSize(std::string_view bytes) {
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (static_cast<uint8_t>(bytes[at]) != 0xFF)
            return std::nullopt;
        uint8_t marker = static_cast<uint8_t>(bytes[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t length = bigEndian(bytes, at + 2, 2);
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > bytes.size())
                return std::nullopt;
            return PixelSize{static_cast<int>(bigEndian(bytes, at + 7, 2)),
                             static_cast<int>(bigEndian(bytes, at + 5, 2))};
        }
        if (length < 2)
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

// The info header follows the 14-byte file header: an old 12-byte core header has 16-bit
// sizes, the others 32-bit ones; a negative height means top-down rows.
std::optional<PixelSize> bmpSize(std::string_view bytes) {
    if (bytes.size() < 26)
        return std::nullopt;
    uint32_t header = littleEndian(bytes, 14, 4);
    if (header == 12)
        return PixelSize{static_cast<int>(littleEndian(bytes, 18, 2)),
                         static_cast<int>(littleEndian(bytes, 20, 2))};
    int32_t width = static_cast<int32_t>(littleEndian(bytes, 18, 4));
    int32_t height = static_cast<int32_t>(littleEndian(bytes, 22, 4));
    return PixelSize{width, std::abs(height)};
}

} // namespace

std::optional<PixelSize> pictureSize(std::string_view bytes) {
    if (bytes.size() >= 8 && bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n")
        return pngSize(bytes);
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return jpegSize(bytes);
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "BM")
        return bmpSize(bytes);
    return std::nullopt;
}

} // namespace platform
