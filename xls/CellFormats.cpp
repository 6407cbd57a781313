#include "xls/CellFormats.h"

#include "xls/XlsError.h"

#include <algorithm>

namespace xls {

namespace {

const char* const BuiltInFormats[CellFormats::BuiltInCount] = {
    "",
    "0",
    "0.00",
    "#,##0",
    "#,##0.00",
    "_($#,##0_);($#,##0)",
    "_($#,##0_);[Red]($#,##0)",
    "_($#,##0.00_);($#,##0.00)",
    "_($#,##0.00_);[Red]($#,##0.00)",
    "0%",
    "0.00%",
    "0.00E+00",
    "# ?/?",
    "# ?\?/?\?",
    "m/d/yy",
    "d-mmm-yy",
    "d-mmm",
    "mmmm-yy",
    "h:mm AM/PM",
    "h:mm:ss AM/PM",
    "h:mm",
    "h:mm:ss",
    "m/d/yy h:mm",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "#,##0_);(#,##0)",
    "#,##0_);[Red](#,##0)",
    "#,##0.00_);(#,##0.00)",
    "#,##0.00_);[Red](#,##0.00)",
    "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)",
    "_($* #,##0_);_($* (#,##0);_($* \"-\"_);_(@_)",
    "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)",
    "_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"??_);_(@_)",
    "mm:ss",
    "[h]:mm:ss",
    "mm:ss.0",
    "##0.0E+0",
    "@"};

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

CellFormats::CellFormats() {
    setDefault();
}

CellFormat& CellFormats::add() {
    return formats_.emplace_back(this, static_cast<int>(formats_.size()));
}

void CellFormats::reset() {
    formats_.clear();
    numberFormats_.assign(std::begin(BuiltInFormats), std::end(BuiltInFormats));
    asRead_.clear();
    fromRecord_.clear();
    readOrder_.clear();
}

void CellFormats::setDefault() {
    reset();
    add();
}

void CellFormats::setNumberFormatAt(int index, std::string_view text, std::string_view flagged) {
    if (index < 0 || index > 0xFFFF)
        throw RangeError();
    if (numberFormats_.size() <= static_cast<size_t>(index))
        numberFormats_.resize(static_cast<size_t>(index) + 1);
    numberFormats_[static_cast<size_t>(index)] = text;
    if (asRead_.size() <= static_cast<size_t>(index))
        asRead_.resize(static_cast<size_t>(index) + 1);
    asRead_[static_cast<size_t>(index)] = flagged;
}

void CellFormats::markReadFromRecord(int index) {
    if (index < 0)
        return;
    if (fromRecord_.size() <= static_cast<size_t>(index))
        fromRecord_.resize(static_cast<size_t>(index) + 1);
    if (!fromRecord_[static_cast<size_t>(index)])
        readOrder_.push_back(index);
    fromRecord_[static_cast<size_t>(index)] = true;
}

bool CellFormats::readFromRecord(int index) const {
    return index >= 0 && static_cast<size_t>(index) < fromRecord_.size() &&
           fromRecord_[static_cast<size_t>(index)];
}

std::string CellFormats::numberFormatAsRead(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= asRead_.size())
        return {};
    return asRead_[static_cast<size_t>(index)];
}

int CellFormats::addNumberFormat(std::string_view text) {
    numberFormats_.emplace_back(text);
    return static_cast<int>(numberFormats_.size()) - 1;
}

std::string_view CellFormats::builtInText(int index) {
    if (index < 0 || index >= BuiltInCount)
        return {};
    return BuiltInFormats[index];
}

std::string CellFormats::numberFormatText(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= numberFormats_.size())
        return {};
    return numberFormats_[static_cast<size_t>(index)];
}

int CellFormats::findOrAddNumberFormat(std::string_view text) {
    mask_.analyse(text);
    for (size_t i = 0; i < numberFormats_.size(); ++i)
        if (equalIgnoringCase(numberFormats_[i], text))
            return static_cast<int>(i);
    numberFormats_.emplace_back(text);
    return static_cast<int>(numberFormats_.size()) - 1;
}

} // namespace xls
