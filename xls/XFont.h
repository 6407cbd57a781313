#pragma once

#include "platform/text/FontDescription.h"
#include "xls/Palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

enum class SubSuperScript : uint8_t { None, Superscript, Subscript };
enum class Underline : uint8_t { None, Single, Double, SingleAccount, DoubleAccount };

// One font of the workbook (a FONT record).
struct XFont {
    enum Style : uint8_t { Bold = 0x01, Italic = 0x02, StrikeOut = 0x04 };

    std::string name = "Arial";
    uint8_t charset = 0;
    uint8_t color = color::Black; // palette index
    int32_t size = 10;            // points
    uint8_t style = 0;
    SubSuperScript subSuperScript = SubSuperScript::None;
    Underline underline = Underline::None;
    // As read from a file: the option bits this model does not hold (written back as they
    // were, for readers that look at them), and the name as a flagged string.
    uint16_t optionBits = 0;
    std::string flaggedName;

    bool has(Style s) const { return (style & s) != 0; }
    // The font for drawing or measuring text, its colour from the palette; a colour index
    // above 64 raises RangeError.
    platform::FontDescription toFontDescription(const Palette& palette) const;

    friend bool operator==(const XFont&, const XFont&) = default;
};

// The workbook's fonts; font 0 is the default font.
class XFonts {
public:
    XFonts() { setDefault(); }

    XFont& item(size_t index) { return fonts_.at(index); }
    const XFont& item(size_t index) const { return fonts_.at(index); }
    size_t count() const { return fonts_.size(); }
    XFont& add() { return fonts_.emplace_back(); }
    void clear() { fonts_.clear(); }
    // Five default fonts, as a new workbook has.
    void setDefault();

private:
    std::vector<XFont> fonts_;
};

} // namespace xls
