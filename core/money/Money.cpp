#include "core/money/Money.h"

#include "core/Convert.h"

#include <charconv>
#include <cmath>
#include <string>

namespace quillan {

namespace {

// Adds one to the last digit of a digit string, carrying to the left; "999" becomes "1000".
void incrementDigits(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string groupThousands(const std::string& whole) {
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i != 0 && (whole.size() - i) % 3 == 0)
            grouped += ',';
        grouped += whole[i];
    }
    return grouped;
}

bool allZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

} // namespace

std::string formatMoney(double amount, int decimals, MoneyStyle style) {
    if (decimals < 0)
        decimals = 0;
    if (!std::isfinite(amount))
        return std::isnan(amount) ? "nan" : (amount < 0 ? "-inf" : "inf");

    // The shortest text that reads back as the same double, in fixed notation.
    char buffer[400];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(amount), std::chars_format::fixed);
    std::string shortest = error == std::errc() ? std::string(buffer, end) : "0";
    size_t point = shortest.find('.');
    std::string whole = shortest.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : shortest.substr(point + 1);

    bool roundUp = fraction.size() > static_cast<size_t>(decimals) &&
                   fraction[static_cast<size_t>(decimals)] >= '5';
    fraction.resize(static_cast<size_t>(decimals), '0');
    if (roundUp) {
        std::string digits = whole + fraction;
        incrementDigits(digits);
        whole = digits.substr(0, digits.size() - fraction.size());
        fraction = digits.substr(digits.size() - fraction.size());
    }

    bool negative = amount < 0 && !(allZero(whole) && allZero(fraction));
    std::string text = negative ? "-" : "";
    if (style == MoneyStyle::Currency)
        text += '$';
    text += style == MoneyStyle::Plain ? whole : groupThousands(whole);
    if (decimals > 0)
        text += '.' + fraction;
    return text;
}

bool tryParseMoney(std::string_view text, double& amount) {
    size_t begin = text.find_first_not_of(" \t");
    size_t last = text.find_last_not_of(" \t");
    if (begin == std::string_view::npos)
        return false;
    text = text.substr(begin, last - begin + 1);

    bool negative = false;
    auto takeSign = [&] {
        if (!text.empty() && text.front() == '-' && !negative) {
            negative = true;
            text.remove_prefix(1);
        }
    };
    takeSign();
    if (!text.empty() && text.front() == '$')
        text.remove_prefix(1);
    takeSign();

    std::string number;
    bool seenPoint = false;
    size_t digits = 0;
    for (char c : text) {
        if (c == ',' && !seenPoint)
            continue;
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            ++digits;
        } else {
            return false;
        }
        number += c;
    }
    if (digits == 0)
        return false;
    double value = 0;
    if (!tryStrToFloat(number, value))
        return false;
    amount = negative ? -value : value;
    return true;
}

double parseMoney(std::string_view text) {
    double amount = 0;
    if (!tryParseMoney(text, amount))
        throw ConvertError("'" + std::string(text) + "' is not a valid amount");
    return amount;
}

double roundMoney(double amount, int decimals) {
    double rounded = 0;
    if (!tryParseMoney(formatMoney(amount, decimals, MoneyStyle::Plain), rounded))
        return amount; // not finite: nothing to round
    return rounded;
}

double roundUpToThousandth(double rate) {
    // A millionth of a thousandth: far above the noise of a double near any rate, far
    // below anything a rate table holds.
    constexpr double tolerance = 1e-6;
    double thousandths = rate * 1000.0;
    double nearest = std::round(thousandths);
    if (std::fabs(thousandths - nearest) <= tolerance)
        return nearest / 1000.0;
    return std::ceil(thousandths) / 1000.0;
}

} // namespace quillan
