#pragma once

#include "platform/text/NumberSeparators.h"
#include "xls/ExcelVersion.h"

#include <functional>
#include <string>
#include <string_view>

namespace xls {

// The text of names and sheets that tokens refer to by index. Kinds: 0 a defined name (the
// index); 1 an extern name of a BIFF5 file (extern index, name index); 2 the sheet text of a
// BIFF8 extern-sheet index, ending in "!", or an extern name when the second index is 1 or
// more; 3 the name of sheet number index.
using NameTextCallback = std::function<std::string(int kind, int index, int secondIndex)>;

struct FormulaSyntax {
    char argumentSeparator = ',';
    char decimalSeparator = '.';
    std::string trueText = "TRUE";
    std::string falseText = "FALSE";

    // Formula text as the user's locale writes it: its decimal and list separators.
    static FormulaSyntax fromLocale(const platform::LocaleSettings& locale);
};

// BIFF2 to BIFF8 formula tokens to formula text, through an operand stack. `buffer` holds
// the tokens (the first tokenLength bytes) and, behind them, the data of array constants.
// Every read is bounded: a missing operand reads "<Val missing>", an unknown token ends the
// text with "Unknown ptg[XX]", and tokens cut off by the end of their data end it with
// "[ERROR]". baseRow and baseCol resolve the relative tokens of shared formulas.
std::string decodeFormulaTokens(ExcelVersion version, std::string_view buffer, size_t tokenLength,
                                const NameTextCallback& names, const FormulaSyntax& syntax = {},
                                int baseRow = 0, int baseCol = 0);

// Rewrites the relative tokens (ptgRefN, ptgAreaN) of a shared formula into ordinary tokens
// for the cell at row, col. References past the sheet's edges wrap around; an unknown or
// cut-off token raises XlsError "Unknown ptg[XX] in Shared Formula" or "record too short".
void adjustSharedFormula(bool biff8, std::string& tokens, int row, int col);

} // namespace xls
