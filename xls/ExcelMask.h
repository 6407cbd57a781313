#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// An Excel number-format text ("#,##0.00", "m/d/yy h:mm") analysed into up to four
// sections of tokens. The cell formats run every number format through it before storing
// it, so that an over-long one is refused; nothing formats values with the tokens.
class ExcelMask {
public:
    enum Kind : uint8_t {
        Marker = 0,  // "@", or the exponent "E+" / "E-"
        Literal = 1, // one character
        Quoted = 2,  // "..."
        Hash = 3,
        Question = 4,
        Zero = 5,
        YearShort = 6,     // y, yy
        YearLong = 7,      // yyy and longer
        Month = 8,         // m, mm, mmm, mmmm, mmmmm and longer: 8 to 12
        Day = 13,          // d, dd, ddd, dddd and longer: 13 to 16
        Hour = 17,         // h; 18 hh and longer
        Hour12 = 19,       // h before an AM/PM marker; 20 hh
        ElapsedHours = 21, // [h]
        Minute = 22,       // 23 mm
        ElapsedMinutes = 24,
        Second = 25, // 26 ss and longer
        ElapsedSeconds = 27,
        AmPmUpper = 28, // AM/PM
        AmPmLower = 29, // am/pm
        AmPmShort = 30, // a/p
        DecimalPoint = 31,
        Percent = 32,
        NumberStart = 33, // before the first digit placeholder or decimal point
    };

    enum Flag : uint8_t {
        TextPlaceholder = 0x01,
        Thousands = 0x02,
        HasDecimalPoint = 0x04,
        HasPercent = 0x08,
        Exponent = 0x10,
        DateTime = 0x20,
        ThirdSection = 0x40,
    };

    struct Token {
        uint8_t kind = Literal;
        std::string text; // the character of a literal, the text of a quoted part
    };

    struct Section {
        std::vector<Token> tokens;
        uint8_t flags = 0;
        uint8_t color = 0; // palette index of a bracketed colour name, 0 for none
        int decimals = 0;
        int decimalPosition = -1; // index of the decimal point token
        int trailingThousands = 0;
    };

    static constexpr size_t MaxLength = 255;

    // Replaces the sections with those of the mask; 256 characters or more raise
    // "Format string more than 255 characthers".
    void analyse(std::string_view mask);
    void clear();

    // Section 0 to 3; empty for a section the mask does not have or leaves empty.
    const std::optional<Section>& section(size_t index) const { return sections_.at(index); }
    size_t sectionCount() const; // slots up to the last present one

private:
    static Section analyseSection(std::string_view text, bool third);

    std::string mask_;
    std::array<std::optional<Section>, 4> sections_;
    size_t slots_ = 0;
};

} // namespace xls
