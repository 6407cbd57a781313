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

namespace {

constexpr uint16_t BoldWeight = 700;
constexpr uint16_t NormalWeight = 400;

Underline underlineOf(uint8_t value) {
    switch (value) {
    case 1:
        return Underline::Single;
    case 2:
        return Underline::Double;
    case 0x21:
        return Underline::SingleAccount;
    case 0x22:
        return Underline::DoubleAccount;
    default:
        return Underline::None;
    }
}

uint8_t underlineByte(Underline underline) {
    switch (underline) {
    case Underline::Single:
        return 1;
    case Underline::Double:
        return 2;
    case Underline::SingleAccount:
        return 0x21;
    case Underline::DoubleAccount:
        return 0x22;
    default:
        return 0;
    }
}

// The palette index of a colour index: the automatic colour and other values beyond the
// palette's draw black.
uint8_t paletteColorOf(uint16_t colorIndex) {
    return static_cast<uint8_t>(colorIndex < 256 ? colorIndex : color::Black);
}

SubSuperScript escapementOf(uint16_t value) {
    return value <= 2 ? static_cast<SubSuperScript>(value) : SubSuperScript::None;
}

} // namespace

void XFont::setRecordValues(uint16_t height, uint16_t colorIndex, uint16_t weight,
                            uint16_t escapement, uint8_t underlineValue) {
    asRead_ = RecordValues{height, colorIndex, weight, escapement, underlineValue};
    size = height / 20;
    color = paletteColorOf(colorIndex);
    style = static_cast<uint8_t>(weight >= BoldWeight ? style | Bold : style & ~Bold);
    subSuperScript = escapementOf(escapement);
    underline = underlineOf(underlineValue);
}

uint16_t XFont::recordHeight() const {
    if (asRead_ && asRead_->height / 20 == size)
        return asRead_->height;
    if (size < 0 || static_cast<int64_t>(size) * 20 > 0xFFFF)
        throw RangeError();
    return static_cast<uint16_t>(size * 20);
}

uint16_t XFont::recordColor() const {
    return asRead_ && paletteColorOf(asRead_->color) == color ? asRead_->color : color;
}

uint16_t XFont::recordWeight() const {
    if (asRead_ && (asRead_->weight >= BoldWeight) == has(Bold))
        return asRead_->weight;
    return has(Bold) ? BoldWeight : NormalWeight;
}

uint16_t XFont::recordEscapement() const {
    if (asRead_ && escapementOf(asRead_->escapement) == subSuperScript)
        return asRead_->escapement;
    return static_cast<uint16_t>(subSuperScript);
}

uint8_t XFont::recordUnderline() const {
    if (asRead_ && underlineOf(asRead_->underline) == underline)
        return asRead_->underline;
    return underlineByte(underline);
}

void XFonts::setDefault() {
    fonts_.assign(5, XFont{});
}

} // namespace xls
