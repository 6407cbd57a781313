#include "xls/ColumnFormats.h"

#include "xls/XlsError.h"

namespace xls {

namespace {

int checked(int value, int highest) {
    if (value < 0 || value > highest)
        throw XlsError("Invalid value");
    return value;
}

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

int ColumnFormats::widthOfCol(int col) const {
    for (const ColumnFormat& format : formats_)
        if (format.col1() <= col && col <= format.col2())
            return format.width();
    return -1;
}

} // namespace xls
