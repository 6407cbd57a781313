#pragma once

#include "platform/text/FontMetrics.h"

namespace platform {

// Text measured by Qt in the screen's fonts.
class QtFontMetrics : public FontMetrics {
public:
    int textWidth(const FontDescription& font, std::string_view text) override;
    int fontHeight(const FontDescription& font) override;
};

} // namespace platform
