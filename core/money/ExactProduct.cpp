#include "core/money/ExactProduct.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillan {

namespace {

constexpr int ProductDecimals = 9;

// A decimal number: its digits, least significant first, times ten to the power of the
// exponent.
struct Decimal {
    bool negative = false;
    std::vector<int> digits;
    int exponent = 0;
};

// The shortest decimal text that reads back as the value, taken digit by digit.
Decimal decimalOf(double value) {
    char text[64];
    auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    std::string_view written(text, static_cast<size_t>(end - text));
    Decimal d;
    size_t e = written.find('e');
    int fractionDigits = 0;
    bool inFraction = false;
    for (char c : written.substr(0, e)) {
        if (c == '-')
            d.negative = true;
        else if (c == '.')
            inFraction = true;
        else {
            d.digits.insert(d.digits.begin(), c - '0');
            fractionDigits += inFraction ? 1 : 0;
        }
    }
    d.exponent = std::atoi(std::string(written.substr(e + 1)).c_str()) - fractionDigits;
    return d;
}

Decimal times(const Decimal& a, const Decimal& b) {
    Decimal product;
    product.negative = a.negative != b.negative;
    product.exponent = a.exponent + b.exponent;
    product.digits.assign(a.digits.size() + b.digits.size(), 0);
    for (size_t i = 0; i < a.digits.size(); ++i) {
        int carry = 0;
        for (size_t j = 0; j < b.digits.size() || carry != 0; ++j) {
            int sum = product.digits[i + j] + carry +
                      (j < b.digits.size() ? a.digits[i] * b.digits[j] : 0);
            product.digits[i + j] = sum % 10;
            carry = sum / 10;
        }
    }
    return product;
}

// Drops the digits below the given decimal place, raising the magnitude by one in the last
// digit kept when the first digit dropped is 5 or more (ties away from zero).
void roundToDecimals(Decimal& d, int decimals) {
    int drop = -decimals - d.exponent;
    if (drop <= 0)
        return;
    if (static_cast<size_t>(drop) > d.digits.size()) {
        d.digits.clear();
        d.exponent = -decimals;
        return;
    }
    bool up = d.digits[static_cast<size_t>(drop) - 1] >= 5;
    d.digits.erase(d.digits.begin(), d.digits.begin() + drop);
    d.exponent = -decimals;
    for (size_t i = 0; up; ++i) {
        if (i == d.digits.size())
            d.digits.push_back(0);
        up = ++d.digits[i] == 10;
        if (up)
            d.digits[i] = 0;
    }
}

double nearestDouble(const Decimal& d) {
    std::string text = d.negative ? "-" : "";
    for (size_t i = d.digits.size(); i-- > 0;)
        text += static_cast<char>('0' + d.digits[i]);
    if (d.digits.empty())
        text += '0';
    text += "e" + std::to_string(d.exponent);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

double exactProduct(double a, double b, double c) {
    double binary = a * b * c;
    if (!std::isfinite(binary))
        return binary;
    Decimal product = times(times(decimalOf(a), decimalOf(b)), decimalOf(c));
    roundToDecimals(product, ProductDecimals);
    return nearestDouble(product);
}

double moneySum(std::initializer_list<double> amounts) {
    double binary = 0;
    for (double amount : amounts)
        binary += amount;
    if (!std::isfinite(binary))
        return binary;
    Decimal sum = decimalOf(binary);
    roundToDecimals(sum, ProductDecimals);
    return nearestDouble(sum);
}

double poundsOf(int32_t pieces, double ouncesPerPiece) {
    return exactProduct(pieces, ouncesPerPiece, 1.0 / 16.0);
}

} // namespace quillan
