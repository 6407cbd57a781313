#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xls {

class CellFormats;

enum class HorizAlignment : uint8_t { General, Left, Center, Right, Fill, Justify, CenterAcross };
enum class VertAlignment : uint8_t { Top, Center, Bottom, Justify };
enum class BorderStyle : uint8_t {
    None,
    Thin,
    Medium,
    Dashed,
    Dotted,
    Thick,
    Double,
    Hair,
    MediumDashed,
    DashDot,
    MediumDashDot,
    DashDotDot,
    MediumDashDotDot,
    SlantedDashDot
};
enum class DiagLines : uint8_t { None, Down, Up, Both };
enum class BorderSide : uint8_t { Left, Right, Top, Bottom, Diagonal };

// One cell format (an XF record). It is kept as the fields of the BIFF8 XF body, so BIFF8
// files copy it and the older versions convert; the setters keep the body's "attribute used"
// flags in step with what they change.
class CellFormat {
public:
    enum Protection : uint8_t { Locked = 0x01, Hidden = 0x02 };
    enum FormatOption : uint8_t { WrapText = 0x01, ShrinkToFit = 0x02 };

    // The body fields, named as in the BIFF8 XF record.
    struct Body {
        uint16_t protection = 0x0001; // bit 0 locked, bit 1 hidden
        uint16_t alignment =
            0x0020;          // 0-2 horizontal, 3 wrap, 4-6 vertical, 7 justify last, 8-15 rotation
        uint16_t indent = 0; // 0-3 indent, 4 shrink, 5 merged, 6-7 reading order, 10-15 used
        uint32_t border1 =
            0x20400000; // styles left, right, top, bottom; left and right colour; diagonals
        uint32_t border2 = 0x00102040; // top, bottom, diagonal colour; diagonal style; fill pattern
        uint16_t colors = 0x20C0;      // 0-6 fore, 7-13 back, 14 pivot button
        friend bool operator==(const Body&, const Body&) = default;
    };

    explicit CellFormat(CellFormats* owner = nullptr, int index = 0);

    std::string name;
    int32_t fontIndex = 0;
    int32_t numberFormatIndex = -1; // into the owner's number formats; -1 for none
    Body body;

    uint8_t protection() const { return body.protection & 0x03; }
    void setProtection(uint8_t flags);
    HorizAlignment horizAlignment() const {
        return static_cast<HorizAlignment>(body.alignment & 0x07);
    }
    void setHorizAlignment(HorizAlignment value);
    VertAlignment vertAlignment() const {
        return static_cast<VertAlignment>((body.alignment >> 4) & 0x07);
    }
    void setVertAlignment(VertAlignment value);
    uint8_t indentLevel() const { return body.indent & 0x0F; }
    void setIndentLevel(uint8_t value);
    int16_t rotation() const;
    void setRotation(int16_t degrees);
    uint8_t formatOptions() const;
    void setFormatOptions(uint8_t options);

    BorderStyle borderStyle(BorderSide side) const;
    void setBorderStyle(BorderSide side, BorderStyle style);
    uint8_t borderColor(BorderSide side) const;
    void setBorderColor(BorderSide side, uint8_t color);
    DiagLines diagLines() const { return static_cast<DiagLines>(body.border1 >> 30); }
    void setDiagLines(int value);

    uint8_t fillPattern() const { return static_cast<uint8_t>(body.border2 >> 26); }
    void setFillPattern(uint8_t pattern);
    uint8_t fillForeColor() const { return body.colors & 0x7F; }
    void setFillForeColor(uint8_t color);
    // The back colour as last set here (64 when never set); files use the body's field.
    uint8_t fillBackColor() const { return backColor_; }
    void setFillBackColor(uint8_t color);

    // The number format's text through the owner; setting parses it as a mask (a bad one
    // raises) and finds it, ignoring case, or appends it.
    std::string numberFormat() const;
    void setNumberFormat(std::string_view text);

    void readXF2(std::string_view body4);
    void readXF3(std::string_view body12);
    void readXF4(std::string_view body12);
    // The three attribute bytes of a BIFF2 cell in a file without XF records: its own
    // format.
    void readCellAttributes2(std::string_view attributes);
    void readXF5(std::string_view body16);
    void readXF8(std::string_view body20);
    // BIFF4 number formats are numbered by their FORMAT records: the body gives the index
    // less formatBase, the index of the first format written.
    std::string writeXF4(int formatBase = 50) const;
    std::string writeXF5() const;
    std::string writeXF8() const;

private:
    void readOlderXF(std::string_view data, size_t usedAt, bool vertical);
    void readAttributes2(uint8_t formatByte, uint8_t alignByte);
    int32_t numberFormatOf(uint8_t index) const;
    void updateUsed(int bit, bool on);
    void updateAlignmentUsed(bool withVertical);
    void updatePatternColorsUsed();
    void resetFields();

    // Whether the format is still what the older layout read gave; then the body read goes
    // back as it is (the fields kept here do not hold every bit of those layouts).
    std::optional<std::string> unchangedAsRead(size_t size) const;
    void keepAsRead(std::string_view data);

    CellFormats* owner_;
    uint8_t backColor_ = 64;
    struct AsRead {
        std::string data;
        int32_t fontIndex = 0;
        int32_t numberFormatIndex = 0;
        Body body;
    };
    std::optional<AsRead> asRead_;
};

} // namespace xls
