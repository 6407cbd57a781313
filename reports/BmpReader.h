#pragma once

#include "platform/graphics/Bitmap.h"

#include <string>
#include <string_view>

namespace quillan {

// Reads a device-independent bitmap (.bmp): 1, 4 or 8 bits per pixel with a palette, or 24
// or 32 bits per pixel, uncompressed (32 bits may name their channel masks), stored bottom
// up or top down. Anything else, and any header that does not add up, throws
// FormFileError with a message that names the file.
platform::Bitmap readBmpFile(const std::string& path);

// The same over the bytes of a file; `name` is the file named in an error.
platform::Bitmap decodeBmp(std::string_view bytes, const std::string& name);

} // namespace quillan
