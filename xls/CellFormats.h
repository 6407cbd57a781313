#pragma once

#include "xls/CellFormat.h"
#include "xls/ExcelMask.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// The workbook's cell formats and the number-format texts they refer to. Positions 0 to 49
// of the number formats are the built-in formats; a file's own formats follow or replace them.
class CellFormats {
public:
    static constexpr int BuiltInCount = 50;

    CellFormats();
    CellFormats(const CellFormats&) = delete;
    CellFormats& operator=(const CellFormats&) = delete;

    CellFormat& item(size_t index) { return formats_.at(index); }
    const CellFormat& item(size_t index) const { return formats_.at(index); }
    size_t count() const { return formats_.size(); }
    CellFormat& add();

    // No cell format, and the built-in number formats only.
    void reset();
    // reset() and one default cell format: a new workbook's formats.
    void setDefault();

    // FORMAT records with an index (BIFF5, BIFF8): the list grows to hold it.
    void setNumberFormatAt(int index, std::string_view text, std::string_view flagged = {});
    // FORMAT records without one (BIFF2 to BIFF4) are appended. "General" stays "General":
    // "@" would make the cells text cells.
    int addNumberFormat(std::string_view text);

    size_t numberFormatCount() const { return numberFormats_.size(); }
    // The text of built-in number format 0 to 49.
    static std::string_view builtInText(int index);
    std::string numberFormatText(int index) const;
    // The text as read, a flagged string; empty for one not read from a BIFF8 file.
    std::string numberFormatAsRead(int index) const;
    // Whether the number format came from a FORMAT record of the file read (one that only
    // repeats a built-in text included).
    bool readFromRecord(int index) const;
    void markReadFromRecord(int index);
    // The indexes of the number formats read from FORMAT records, in the records' order.
    const std::vector<int>& readOrder() const { return readOrder_; }
    // The index of the text, compared without regard to case, appended when missing; the
    // text is analysed as a mask first, so an over-long one raises.
    int findOrAddNumberFormat(std::string_view text);

private:
    std::deque<CellFormat> formats_; // a deque: formats stay where they are as the list grows
    std::vector<std::string> numberFormats_;
    std::vector<std::string> asRead_;
    std::vector<bool> fromRecord_;
    std::vector<int> readOrder_;
    ExcelMask mask_;
};

} // namespace xls
