#pragma once

#include <string>
#include <string_view>

namespace quillan {

// Every amount of money is held as a double in dollars; these are the only routines that
// turn one into text or read one back, so every report and printout rounds alike.

enum class MoneyStyle {
    Currency, // "$1,234.5000", "-$1.0000"
    Grouped,  // "1,234.5000"
    Plain,    // "1234.5000"
};

// The amount rounded to the given decimals, ties away from zero (0.15625 to four decimals
// is 0.1563). The rounding works on the shortest decimal text that reads back as the same
// double, so an amount typed as 1.00005 rounds as a person reading it would. No
// significant-digit limit: a $123,456,789.12 amount prints whole.
std::string formatMoney(double amount, int decimals, MoneyStyle style);

// The three texts the statements and printouts show.
inline std::string currencyText(double amount) {
    return formatMoney(amount, 4, MoneyStyle::Currency);
}
inline std::string currencyTotalText(double amount) {
    return formatMoney(amount, 2, MoneyStyle::Currency);
}
inline std::string amountText(double amount) {
    return formatMoney(amount, 4, MoneyStyle::Plain);
}

// Reads back any text formatMoney makes, and plain decimals: blanks around it, an optional
// "-" before or after an optional "$", digits with every "," removed, an optional fraction.
// False for anything else (an empty text, a lone "$", two points, letters).
bool tryParseMoney(std::string_view text, double& amount);
// As tryParseMoney; throws ConvertError naming the text when it is not an amount.
double parseMoney(std::string_view text);

// The amount a printed money text of that many decimals stands for: what reading back
// formatMoney(amount, decimals, ...) gives. Sums of printed amounts add these.
double roundMoney(double amount, int decimals);

// The combined per-piece rate of an affixed-postage piece and pound pair, rounded up to
// the next thousandth of a dollar. A rate within floating-point noise of a thousandth
// stays on it, so 0.208 computed as 0.20800000000000002 is not raised to 0.209.
double roundUpToThousandth(double rate);

} // namespace quillan
