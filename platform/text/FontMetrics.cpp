#include "platform/text/FontMetrics.h"

#include <cmath>

namespace platform {

int FixedFontMetrics::fontHeight(const FontDescription& font) {
    return static_cast<int>(std::lround(font.spec.size * 96.0 / 72.0));
}

int FixedFontMetrics::textWidth(const FontDescription& font, std::string_view text) {
    int digit = static_cast<int>(std::lround(fontHeight(font) * 0.55));
    return digit * static_cast<int>(text.size());
}

} // namespace platform
