#pragma once

#include "platform/text/NumberSeparators.h"
#include "xls/ExcelVersion.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace xls {

// Where a sheet name of a 3-D reference points: the EXTERNSHEET entry and the sheets it
// spans (BIFF5 tokens carry the sheets themselves).
struct SheetReference {
    int externIndex = 0;
    int firstSheet = 0;
    int lastSheet = 0;
};

struct DdeReference {
    int externIndex = 0;
    int nameIndex = 0;
};

// A cell or area reference as written: "A1", "$B$2", "A1:C3".
struct AreaReference {
    bool area = false;
    int col1 = 0, row1 = 0, col2 = 0, row2 = 0;
    bool col1Absolute = false, row1Absolute = false, col2Absolute = false, row2Absolute = false;
};

// Encoded formula: the tokens, then the data of their array constants, which records keep
// behind the tokens.
struct EncodedFormula {
    std::string bytes;
    size_t tokenLength = 0;
    std::string_view tokens() const { return std::string_view(bytes).substr(0, tokenLength); }
};

// Formula text, as a user writes it without the leading "=", to BIFF5 or BIFF8 formula
// tokens. A recursive-descent parser over a small lexer; binary operators associate to the
// left on every level, as Excel evaluates them. Every error raises XlsError with the
// library's message.
class FormulaEncoder {
public:
    using FunctionLookup = std::function<int(std::string_view name)>; // add-in name index or -1
    using NameLookup = std::function<int(std::string_view name)>;     // defined name index or -1
    using SheetLookup = std::function<std::optional<SheetReference>(std::string_view sheet)>;
    using DdeLookup = std::function<std::optional<DdeReference>(std::string_view applicationTopic,
                                                                std::string_view item)>;

    static constexpr size_t DefaultCapacity = 4096;

    ExcelVersion version = ExcelVersion::Excel97;
    char argumentSeparator = ',';
    char decimalSeparator = '.';
    std::string trueText = "TRUE";
    std::string falseText = "FALSE";
    FunctionLookup functionLookup;
    NameLookup nameLookup;
    SheetLookup sheetLookup;
    DdeLookup ddeLookup;

    // The argument and decimal separators of the user's locale.
    void useLocale(const platform::LocaleSettings& locale) {
        platform::NumberSeparators separators = locale.separators();
        argumentSeparator = separators.list;
        decimalSeparator = separators.decimal;
    }

    // The tokens of the formula and the data of its array constants ("{1,2;3,4}"); more than
    // capacity bytes raise "Formula buffer owerflow".
    EncodedFormula encode(std::string_view formula, size_t capacity = DefaultCapacity) const;

    // "$"? one letter, or two of which the first is A to G; "$"? the row 1 to 65536.
    static bool parseCellRef(std::string_view text, int& col, int& row, bool& rowAbsolute,
                             bool& colAbsolute);
    // One cell, or two joined by ":".
    static bool parseAreaRef(std::string_view text, AreaReference& ref);
};

} // namespace xls
