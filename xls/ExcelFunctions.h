#pragma once

#include <cstdint>
#include <string_view>

namespace xls {

// A built-in function of the formula tokens: its argument counts (99 for "any number up to
// 99") and its name.
struct ExcelFunction {
    uint8_t minArgs;
    uint8_t maxArgs;
    const char* name;
};

constexpr int ExcelFunctionCount = 368;
constexpr int AddInFunction = 255;

// The function of a BIFF function number from 0 to 367.
const ExcelFunction& excelFunction(int number);
// The number of the first function of that (upper-case) name, or -1.
int findExcelFunction(std::string_view upperName);

} // namespace xls
