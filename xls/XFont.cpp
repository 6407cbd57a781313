#include "xls/XFont.h"

#include "xls/XlsError.h"

namespace xls {

platform::FontDescription XFont::toFontDescription(const Palette& palette) const {
    if (color >= palette.size())
        throw RangeError();
    platform::FontDescription font;
    font.spec.name = name;
    font.spec.size = size;
    font.spec.bold = has(Bold);
    font.spec.italic = has(Italic);
    font.spec.underline = underline != Underline::None;
    font.strikeOut = has(StrikeOut);
    font.charset = charset;
    font.color = palette[color];
    return font;
}

void XFonts::setDefault() {
    fonts_.assign(5, XFont{});
}

} // namespace xls
