#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xls {

// The widths and formats of a sheet's column ranges (COLINFO).
struct ColumnFormat {
    int col1() const { return col1_; }
    int col2() const { return col2_; }
    int width() const { return width_; }
    int formatIndex() const { return formatIndex_; }
    int outlineLevel() const { return outlineLevel_; }
    // Values outside 0 to 65535 (outline levels outside 0 to 16) raise "Invalid value".
    void setCol1(int value);
    void setCol2(int value);
    void setWidth(int value);
    void setFormatIndex(int value);
    void setOutlineLevel(int value);

    bool hidden = false;
    bool collapsedOutline = false;
    // As read: the option bits not named above (a width the user set, a best fit, ...) and
    // the record's last word.
    uint16_t optionBits = 0;
    uint16_t reserved = 0;

    // The option word of a COLINFO record, and from one.
    uint16_t optionWord() const;
    void setOptionWord(uint16_t word);

private:
    int col1_ = 0;
    int col2_ = 0;
    int width_ = 2500; // 1/256 of a character
    int formatIndex_ = 0;
    int outlineLevel_ = 0;
};

class ColumnFormats {
public:
    ColumnFormat& add() { return formats_.emplace_back(); }
    ColumnFormat& item(size_t index) { return formats_.at(index); }
    size_t count() const { return formats_.size(); }
    void clear() { formats_.clear(); }
    // The width of the first range that holds the column, or -1.
    int widthOfCol(int col) const;

private:
    std::vector<ColumnFormat> formats_;
};

} // namespace xls
