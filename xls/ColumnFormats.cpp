#include "xls/ColumnFormats.h"

#include "xls/XlsError.h"

namespace xls {

namespace {

int checked(int value, int highest) {
    if (value < 0 || value > highest)
        throw XlsError("Invalid value");
    return value;
}

constexpr uint16_t Hidden = 0x0001;
constexpr uint16_t OutlineLevel = 0x0700;
constexpr uint16_t Collapsed = 0x1000;

} // namespace

void ColumnFormat::setCol1(int value) {
    col1_ = checked(value, 0xFFFF);
}

void ColumnFormat::setCol2(int value) {
    col2_ = checked(value, 0xFFFF);
}

void ColumnFormat::setWidth(int value) {
    width_ = checked(value, 0xFFFF);
}

void ColumnFormat::setFormatIndex(int value) {
    formatIndex_ = checked(value, 0xFFFF);
}

void ColumnFormat::setOutlineLevel(int value) {
    outlineLevel_ = checked(value, 16);
}

uint16_t ColumnFormat::optionWord() const {
    return static_cast<uint16_t>((optionBits & ~(Hidden | OutlineLevel | Collapsed)) |
                                 (hidden ? Hidden : 0) | ((outlineLevel_ << 8) & OutlineLevel) |
                                 (collapsedOutline ? Collapsed : 0));
}

void ColumnFormat::setOptionWord(uint16_t word) {
    hidden = (word & Hidden) != 0;
    outlineLevel_ = (word & OutlineLevel) >> 8;
    collapsedOutline = (word & Collapsed) != 0;
    optionBits = static_cast<uint16_t>(word & ~(Hidden | OutlineLevel | Collapsed));
}

int ColumnFormats::widthOfCol(int col) const {
    for (const ColumnFormat& format : formats_)
        if (format.col1() <= col && col <= format.col2())
            return format.width();
    return -1;
}

} // namespace xls
