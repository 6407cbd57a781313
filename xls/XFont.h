#pragma once

#include "platform/text/FontDescription.h"
#include "xls/Palette.h"

#include <cstdint>
#include <optional>
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
    // The family byte and the byte behind the character set of a FONT record, as read.
    uint8_t family = 0;
    uint8_t reserved = 0;

    bool has(Style s) const { return (style & s) != 0; }

    // A FONT record's height (in twentieths of a point), colour index (0x7FFF the automatic
    // colour), weight, escapement and underline byte, from which the size, colour, boldness,
    // sub- or superscript and underline above are taken. The values a record is written with
    // are these while the model's say the same (a font of 9.5 points stays one), else the
    // model's own.
    void setRecordValues(uint16_t height, uint16_t colorIndex, uint16_t weight, uint16_t escapement,
                         uint8_t underlineByte);
    uint16_t recordHeight() const;
    uint16_t recordColor() const;
    uint16_t recordWeight() const;
    uint16_t recordEscapement() const;
    uint8_t recordUnderline() const;
    // The font for drawing or measuring text, its colour from the palette; a colour index
    // above 64 raises RangeError.
    platform::FontDescription toFontDescription(const Palette& palette) const;

    friend bool operator==(const XFont&, const XFont&) = default;

private:
    struct RecordValues {
        uint16_t height = 0;
        uint16_t color = 0;
        uint16_t weight = 0;
        uint16_t escapement = 0;
        uint8_t underline = 0;
        friend bool operator==(const RecordValues&, const RecordValues&) = default;
    };
    std::optional<RecordValues> asRead_;
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
