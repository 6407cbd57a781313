#include "xls/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace xls {

std::string numberText(double value, char decimalSeparator) {
    if (!std::isfinite(value))
        return "#NUM!";
    if (value == 0)
        return "0";
    // 15 significant digits in scientific form: d.dddddddddddddde±x.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                std::chars_format::scientific, 14);
    std::string scientific(buffer, result.ptr);
    size_t e = scientific.find('e');
    int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text += "0";
            text += decimalSeparator;
            text += std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
            return text;
        }
        size_t integerDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= integerDigits)
            return text + digits + std::string(integerDigits - digits.size(), '0');
        return text + digits.substr(0, integerDigits) + decimalSeparator +
               digits.substr(integerDigits);
    }
    text += digits.substr(0, 1);
    if (digits.size() > 1)
        text += decimalSeparator + digits.substr(1);
    text += exponent < 0 ? "E-" : "E+";
    int magnitude = std::abs(exponent);
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

} // namespace xls
