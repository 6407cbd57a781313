#pragma once

#include "platform/text/FontDescription.h"

#include <string_view>

namespace platform {

// Text measured on the screen in a font: what a document needs to size things in pixels.
class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    virtual int textWidth(const FontDescription& font, std::string_view text) = 0;
    // The height of the font's characters in pixels (its point size at the screen's
    // resolution).
    virtual int fontHeight(const FontDescription& font) = 0;
};

// Metrics of a 96-dpi screen without measuring: every character as wide as a digit of the
// font, a digit 0.7 of the pixel height. For tests and for runs without a screen.
class FixedFontMetrics : public FontMetrics {
public:
    int textWidth(const FontDescription& font, std::string_view text) override;
    int fontHeight(const FontDescription& font) override;
};

} // namespace platform
