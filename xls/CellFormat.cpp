#include "xls/CellFormat.h"

#include "xls/CellFormats.h"
#include "xls/RecordCursor.h"
#include "xls/XlsError.h"

namespace xls {

namespace {

// The used-attribute flags of the indent word.
constexpr int AlignmentUsed = 12;
constexpr int BorderUsed = 13;
constexpr int PatternUsed = 14;

enum class Field { Alignment, Indent, Border1, Border2, Colors };

uint32_t get(const CellFormat::Body& b, Field f) {
    switch (f) {
    case Field::Alignment:
        return b.alignment;
    case Field::Indent:
        return b.indent;
    case Field::Border1:
        return b.border1;
    case Field::Border2:
        return b.border2;
    case Field::Colors:
        return b.colors;
    }
    return 0;
}

void set(CellFormat::Body& b, Field f, uint32_t v) {
    switch (f) {
    case Field::Alignment:
        b.alignment = static_cast<uint16_t>(v);
        break;
    case Field::Indent:
        b.indent = static_cast<uint16_t>(v);
        break;
    case Field::Border1:
        b.border1 = v;
        break;
    case Field::Border2:
        b.border2 = v;
        break;
    case Field::Colors:
        b.colors = static_cast<uint16_t>(v);
        break;
    }
}

uint32_t bits(uint32_t value, int shift, int width) {
    return (value >> shift) & ((1u << width) - 1);
}

uint32_t withBits(uint32_t value, int shift, int width, uint32_t field) {
    uint32_t mask = ((1u << width) - 1) << shift;
    return (value & ~mask) | ((field << shift) & mask);
}

// Where each BIFF5 XF field lives in the body and in the BIFF8 form kept here: written once,
// used both ways. The orientation of the text is not a plain bit field and goes apart.
struct Biff5Bits {
    Field field;
    int fieldShift;
    int width;
    size_t word; // byte offset of the 16-bit word in the BIFF5 body
    int wordShift;
};

constexpr Biff5Bits Biff5Layout[] = {
    {Field::Alignment, 0, 8, 6, 0},  // horizontal, wrap, vertical, justify last
    {Field::Indent, 10, 6, 6, 10},   // used-attribute flags
    {Field::Colors, 0, 7, 8, 0},     // pattern fore colour
    {Field::Colors, 7, 6, 8, 7},     // pattern back colour
    {Field::Colors, 14, 1, 8, 13},   // pivot button
    {Field::Border2, 26, 6, 10, 0},  // fill pattern
    {Field::Border1, 12, 3, 10, 6},  // bottom style
    {Field::Border2, 7, 7, 10, 9},   // bottom colour
    {Field::Border1, 8, 3, 12, 0},   // top style
    {Field::Border1, 0, 3, 12, 3},   // left style
    {Field::Border1, 4, 3, 12, 6},   // right style
    {Field::Border2, 0, 7, 12, 9},   // top colour
    {Field::Border1, 16, 14, 14, 0}, // left and right colour
};

// Each side's style and colour: (field, shift, width).
struct SideBits {
    Field styleField;
    int styleShift;
    int styleWidth;
    Field colorField;
    int colorShift;
};

SideBits sideBits(BorderSide side) {
    switch (side) {
    case BorderSide::Left:
        return {Field::Border1, 0, 4, Field::Border1, 16};
    case BorderSide::Right:
        return {Field::Border1, 4, 4, Field::Border1, 23};
    case BorderSide::Top:
        return {Field::Border1, 8, 4, Field::Border2, 0};
    case BorderSide::Bottom:
        return {Field::Border1, 12, 4, Field::Border2, 7};
    case BorderSide::Diagonal:
        return {Field::Border2, 21, 4, Field::Border2, 14};
    }
    return {};
}

void putWord(std::string& body, size_t at, uint32_t value) {
    body[at] = static_cast<char>(value & 0xFF);
    body[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void putDword(std::string& body, size_t at, uint32_t value) {
    putWord(body, at, value & 0xFFFF);
    putWord(body, at + 2, value >> 16);
}

void requireSize(std::string_view body, size_t size) {
    if (body.size() < size)
        throw XlsError("record too short");
}

} // namespace

CellFormat::CellFormat(CellFormats* owner, int index)
    : name("Format " + std::to_string(index)), owner_(owner) {}

void CellFormat::resetFields() {
    body = Body{};
    fontIndex = 0;
    numberFormatIndex = -1;
    backColor_ = 64;
}

void CellFormat::updateUsed(int bit, bool on) {
    body.indent = static_cast<uint16_t>(withBits(body.indent, bit, 1, on ? 1 : 0));
}

void CellFormat::updateAlignmentUsed(bool withVertical) {
    uint32_t relevant = withVertical ? 0x7F : 0x0F; // horizontal and wrap, and vertical
    updateUsed(AlignmentUsed, (body.alignment & relevant) != 0);
}

void CellFormat::updatePatternColorsUsed() {
    updateUsed(PatternUsed, (body.colors & 0x3FFF) != 0x2040);
}

void CellFormat::setProtection(uint8_t flags) {
    body.protection = static_cast<uint16_t>(withBits(body.protection, 0, 2, flags));
}

void CellFormat::setHorizAlignment(HorizAlignment value) {
    body.alignment =
        static_cast<uint16_t>(withBits(body.alignment, 0, 3, static_cast<uint32_t>(value)));
    updateAlignmentUsed(true);
}

void CellFormat::setVertAlignment(VertAlignment value) {
    body.alignment =
        static_cast<uint16_t>(withBits(body.alignment, 4, 3, static_cast<uint32_t>(value)));
    updateAlignmentUsed(true);
}

void CellFormat::setIndentLevel(uint8_t value) {
    body.indent = static_cast<uint16_t>(withBits(body.indent, 0, 4, value));
}

int16_t CellFormat::rotation() const {
    int r = body.alignment >> 8;
    if (r <= 90 || r == 255)
        return static_cast<int16_t>(r);
    return static_cast<int16_t>(90 - r);
}

void CellFormat::setRotation(int16_t degrees) {
    int r;
    if (degrees >= 255)
        r = 255;
    else if (degrees > 90)
        r = 90;
    else if (degrees >= 0)
        r = degrees;
    else if (degrees >= -90)
        r = 90 - degrees;
    else
        r = 180;
    body.alignment =
        static_cast<uint16_t>(withBits(body.alignment, 8, 8, static_cast<uint32_t>(r)));
}

uint8_t CellFormat::formatOptions() const {
    uint8_t options = 0;
    if (body.alignment & 0x08)
        options |= WrapText;
    if (body.indent & 0x10)
        options |= ShrinkToFit;
    return options;
}

void CellFormat::setFormatOptions(uint8_t options) {
    body.alignment = static_cast<uint16_t>(body.alignment & ~0x88);
    if (options & WrapText)
        body.alignment = static_cast<uint16_t>(body.alignment | 0x08);
    updateUsed(4, (options & ShrinkToFit) != 0);
    updateAlignmentUsed(false);
}

BorderStyle CellFormat::borderStyle(BorderSide side) const {
    SideBits s = sideBits(side);
    return static_cast<BorderStyle>(bits(get(body, s.styleField), s.styleShift, s.styleWidth));
}

void CellFormat::setBorderStyle(BorderSide side, BorderStyle style) {
    SideBits s = sideBits(side);
    set(body, s.styleField,
        withBits(get(body, s.styleField), s.styleShift, s.styleWidth,
                 static_cast<uint32_t>(style)));
    if (side == BorderSide::Diagonal)
        updateUsed(BorderUsed, (body.border1 & 0xFFFF) != 0 || style != BorderStyle::None);
}

uint8_t CellFormat::borderColor(BorderSide side) const {
    SideBits s = sideBits(side);
    return static_cast<uint8_t>(bits(get(body, s.colorField), s.colorShift, 7));
}

void CellFormat::setBorderColor(BorderSide side, uint8_t color) {
    SideBits s = sideBits(side);
    set(body, s.colorField, withBits(get(body, s.colorField), s.colorShift, 7, color));
}

void CellFormat::setDiagLines(int value) {
    if (value < 0 || value > 3)
        throw RangeError();
    body.border1 = withBits(body.border1, 30, 2, static_cast<uint32_t>(value));
}

void CellFormat::setFillPattern(uint8_t pattern) {
    body.border2 = withBits(body.border2, 26, 6, pattern);
    updateUsed(PatternUsed, pattern != 0);
}

void CellFormat::setFillForeColor(uint8_t color) {
    body.colors = static_cast<uint16_t>(withBits(body.colors, 0, 7, color));
    updatePatternColorsUsed();
    if (color != 64) {
        setFillPattern(1);
        setFillBackColor(9);
    }
}

void CellFormat::setFillBackColor(uint8_t color) {
    backColor_ = color;
    body.colors = static_cast<uint16_t>(withBits(body.colors, 7, 7, color));
    updatePatternColorsUsed();
}

std::string CellFormat::numberFormat() const {
    if (numberFormatIndex < 0 || !owner_)
        return {};
    return owner_->numberFormatText(numberFormatIndex);
}

void CellFormat::setNumberFormat(std::string_view text) {
    if (text.empty()) {
        numberFormatIndex = -1;
        return;
    }
    if (!owner_)
        throw XlsError("The cell format belongs to no format list");
    numberFormatIndex = owner_->findOrAddNumberFormat(text);
}

void CellFormat::readXF4(std::string_view data) {
    requireSize(data, 12);
    readOlderXF(data, 5, true);
    keepAsRead(data.substr(0, 12));
}

// BIFF3 has the layout of BIFF4 with the used-attribute byte ahead of the alignment, whose
// upper bits are the parent format rather than a vertical alignment.
void CellFormat::readXF3(std::string_view data) {
    requireSize(data, 12);
    readOlderXF(data, 3, false);
}

void CellFormat::readOlderXF(std::string_view data, size_t usedAt, bool vertical) {
    RecordCursor in(data);
    resetFields();
    fontIndex = in.u8(0);
    numberFormatIndex = numberFormatOf(in.u8(1));
    setProtection(static_cast<uint8_t>(in.u16(2) & 0x03));
    uint8_t align = in.u8(4);
    if ((align & 0x07) != 7)
        setHorizAlignment(static_cast<HorizAlignment>(align & 0x07));
    setFormatOptions((align & 0x08) ? WrapText : 0);
    if (vertical && ((align >> 4) & 0x03) != 3)
        setVertAlignment(static_cast<VertAlignment>((align >> 4) & 0x03));
    if (in.u8(usedAt) & 0x20) {
        uint16_t pattern = in.u16(6);
        // The colours first: the fore colour's setter makes the pattern solid, and the
        // pattern of the file must win.
        setFillForeColor(static_cast<uint8_t>(bits(pattern, 6, 5)));
        setFillBackColor(static_cast<uint8_t>(bits(pattern, 11, 5)));
        setFillPattern(static_cast<uint8_t>(bits(pattern, 0, 6)));
    }
    const BorderSide sides[] = {BorderSide::Top, BorderSide::Left, BorderSide::Bottom,
                                BorderSide::Right};
    for (size_t i = 0; i < 4; ++i)
        setBorderStyle(sides[i], static_cast<BorderStyle>(in.u8(8 + i) & 0x07));
}

// BIFF2: the font, the number format and protection in one byte, the horizontal alignment
// and a thin line on each side in the last.
void CellFormat::readXF2(std::string_view data) {
    requireSize(data, 4);
    RecordCursor in(data);
    resetFields();
    fontIndex = in.u8(0);
    readAttributes2(in.u8(2), in.u8(3));
    setProtection(static_cast<uint8_t>((in.u8(2) >> 6) & 0x03));
}

void CellFormat::readCellAttributes2(std::string_view attributes) {
    requireSize(attributes, 3);
    resetFields();
    fontIndex = static_cast<uint8_t>(attributes[1]) >> 6;
    readAttributes2(static_cast<uint8_t>(attributes[1]), static_cast<uint8_t>(attributes[2]));
}

void CellFormat::readAttributes2(uint8_t formatByte, uint8_t alignByte) {
    numberFormatIndex = numberFormatOf(formatByte & 0x3F);
    if ((alignByte & 0x07) != 7)
        setHorizAlignment(static_cast<HorizAlignment>(alignByte & 0x07));
    const BorderSide sides[] = {BorderSide::Left, BorderSide::Right, BorderSide::Top,
                                BorderSide::Bottom};
    for (size_t i = 0; i < 4; ++i)
        if (alignByte & (0x08 << i))
            setBorderStyle(sides[i], BorderStyle::Thin);
}

// Files before BIFF5 number their FORMAT records from 0: read ones stand behind the
// built-in formats.
int32_t CellFormat::numberFormatOf(uint8_t index) const {
    return owner_ && owner_->numberFormatCount() > CellFormats::BuiltInCount
               ? index + CellFormats::BuiltInCount
               : index;
}

void CellFormat::keepAsRead(std::string_view data) {
    asRead_ = AsRead{std::string(data), fontIndex, numberFormatIndex, body};
}

std::optional<std::string> CellFormat::unchangedAsRead(size_t size) const {
    if (asRead_ && asRead_->data.size() == size && asRead_->fontIndex == fontIndex &&
        asRead_->numberFormatIndex == numberFormatIndex && asRead_->body == body)
        return asRead_->data;
    return std::nullopt;
}

void CellFormat::readXF5(std::string_view data) {
    requireSize(data, 16);
    RecordCursor in(data);
    body = Body{0, 0, 0, 0, 0, 0};
    fontIndex = in.u16(0);
    numberFormatIndex = in.u16(2);
    body.protection = in.u16(4);
    for (const Biff5Bits& b : Biff5Layout)
        set(body, b.field,
            withBits(get(body, b.field), b.fieldShift, b.width,
                     bits(in.u16(b.word), b.wordShift, b.width)));
    static constexpr uint8_t Rotations[] = {0, 255, 90, 180};
    body.alignment =
        static_cast<uint16_t>(withBits(body.alignment, 8, 8, Rotations[(in.u16(6) >> 8) & 0x03]));
    keepAsRead(data.substr(0, 16));
}

void CellFormat::readXF8(std::string_view data) {
    requireSize(data, 20);
    RecordCursor in(data);
    fontIndex = in.u16(0);
    numberFormatIndex = in.u16(2);
    body.protection = in.u16(4);
    body.alignment = in.u16(6);
    body.indent = in.u16(8);
    body.border1 = in.u32(10);
    body.border2 = in.u32(14);
    body.colors = in.u16(18);
}

std::string CellFormat::writeXF4(int formatBase) const {
    if (std::optional<std::string> asRead = unchangedAsRead(12))
        return *asRead;
    if (fontIndex < 0 || fontIndex > 255)
        throw RangeError();
    int format = numberFormatIndex < 0 ? 0 : numberFormatIndex - formatBase;
    if (numberFormatIndex >= 0 && (format < 0 || format > 255))
        throw RangeError();
    std::string out(12, '\0');
    out[0] = static_cast<char>(fontIndex);
    out[1] = static_cast<char>(format);
    putWord(out, 2, protection());
    HorizAlignment horiz = horizAlignment();
    VertAlignment vert = vertAlignment();
    bool wrap = (formatOptions() & WrapText) != 0;
    uint8_t align = static_cast<uint8_t>(static_cast<int>(horiz) & 0x07);
    if (wrap)
        align |= 0x08;
    if (vert == VertAlignment::Center)
        align |= 0x10;
    else if (vert == VertAlignment::Bottom)
        align |= 0x20;
    out[4] = static_cast<char>(align);

    const BorderSide sides[] = {BorderSide::Top, BorderSide::Left, BorderSide::Bottom,
                                BorderSide::Right};
    bool anyBorder = false;
    for (size_t i = 0; i < 4; ++i) {
        int style = static_cast<int>(borderStyle(sides[i]));
        uint8_t byte = (style >= 1 && style <= 7) ? static_cast<uint8_t>(style | 0xC0) : 0;
        out[8 + i] = static_cast<char>(byte);
        anyBorder = anyBorder || style != 0;
    }
    uint8_t used = 0;
    if (numberFormatIndex > 0)
        used |= 0x04;
    if (fontIndex > 0)
        used |= 0x08;
    if (horiz != HorizAlignment::General || wrap || vert != VertAlignment::Bottom)
        used |= 0x10;
    if (anyBorder)
        used |= 0x20;
    if (protection() != Locked)
        used |= 0x80;
    out[5] = static_cast<char>(used);
    putWord(out, 6,
            fillPattern() | ((fillForeColor() & 0x1F) << 6) |
                ((bits(body.colors, 7, 7) & 0x1F) << 11));
    return out;
}

std::string CellFormat::writeXF5() const {
    if (std::optional<std::string> asRead = unchangedAsRead(16))
        return *asRead;
    if (fontIndex < 0 || fontIndex > 0xFFFF || numberFormatIndex > 0xFFFF)
        throw RangeError();
    std::string out(16, '\0');
    putWord(out, 0, static_cast<uint32_t>(fontIndex));
    putWord(out, 2, static_cast<uint32_t>(numberFormatIndex < 0 ? 0 : numberFormatIndex));
    putWord(out, 4, body.protection);
    for (const Biff5Bits& b : Biff5Layout) {
        uint32_t word =
            static_cast<uint8_t>(out[b.word]) | (static_cast<uint8_t>(out[b.word + 1]) << 8);
        putWord(
            out, b.word,
            withBits(word, b.wordShift, b.width, bits(get(body, b.field), b.fieldShift, b.width)));
    }
    int r = body.alignment >> 8;
    uint32_t orientation = r == 255 ? 1 : r >= 136 ? 3 : r >= 46 ? 2 : 0;
    out[7] = static_cast<char>(static_cast<uint8_t>(out[7]) | orientation);
    return out;
}

std::string CellFormat::writeXF8() const {
    if (fontIndex < 0 || fontIndex > 0xFFFF || numberFormatIndex > 0xFFFF)
        throw RangeError();
    std::string out(20, '\0');
    putWord(out, 0, static_cast<uint32_t>(fontIndex));
    putWord(out, 2, static_cast<uint32_t>(numberFormatIndex < 0 ? 0 : numberFormatIndex));
    putWord(out, 4, body.protection);
    putWord(out, 6, body.alignment);
    putWord(out, 8, body.indent);
    putDword(out, 10, body.border1);
    putDword(out, 14, body.border2);
    putWord(out, 18, body.colors);
    return out;
}

} // namespace xls
