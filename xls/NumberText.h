#pragma once

#include <string>

namespace xls {

// A number as Excel's General format shows it: up to 15 significant digits, trailing zeros
// dropped; fixed notation from 1E-5 up to 15 integer digits, else "1.5E+20" / "1E-06" (at
// least two exponent digits). Infinite and NaN values, which no cell can hold, give "#NUM!".
std::string numberText(double value, char decimalSeparator = '.');

} // namespace xls
