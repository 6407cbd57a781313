#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Color.h"

#include <cstdint>

namespace platform {

// A font as a document describes it, for whoever draws or measures its text: the canvas
// font plus what a document's font adds (character set, strike-out, colour).
struct FontDescription {
    FontSpec spec;
    uint8_t charset = 0;
    bool strikeOut = false;
    Color color = colors::Black;
};

} // namespace platform
