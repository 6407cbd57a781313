#include "reports/StatementDigits.h"

#include "core/NumberText.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"

#include <algorithm>
#include <cmath>

namespace quillan {

namespace {

// "12.3456" as its integer part and its decimals.
struct Split {
    std::string whole;
    std::string decimals;
};

Split splitFixed(double value, int decimals) {
    std::string text = poundsText(std::max(value, 0.0), decimals);
    size_t point = text.find('.');
    return {text.substr(0, point), text.substr(point + 1)};
}

void addCharacters(std::vector<std::string>& boxes, const std::string& text) {
    for (char c : text)
        boxes.push_back(std::string(1, c));
}

// A date part of `width` digits, zero-padded; its first characters when it is no number.
std::string datePart(const std::string& text, size_t width) {
    int32_t value = 0;
    if (!parseUnsignedWhole(text, value))
        return text.substr(0, std::min(text.size(), width));
    std::string digits = std::to_string(value);
    if (digits.size() >= width)
        return digits.substr(digits.size() - width);
    return std::string(width - digits.size(), '0') + digits;
}

// Two digits of the century's year ("24") stand for 2024; four digits are the year itself.
std::string yearPart(const std::string& text) {
    int32_t value = 0;
    if (parseUnsignedWhole(text, value) && value >= 1000)
        return datePart(text, 4);
    if (text.empty())
        return "";
    return "20" + datePart(text, 2);
}

// The characters of a part in its boxes; boxes it does not fill stay empty.
void addPart(std::vector<std::string>& boxes, const std::string& part, size_t width) {
    for (size_t i = 0; i < width; ++i)
        boxes.push_back(i < part.size() ? std::string(1, part[i]) : std::string());
}

} // namespace

std::string poundsText(double pounds, int decimals, bool grouped) {
    // Decimal rounding of the shortest text of the number, as amounts of money are rounded.
    return formatMoney(pounds, decimals, grouped ? MoneyStyle::Grouped : MoneyStyle::Plain);
}

std::vector<std::string> pieceWeightDigits(double ounces, bool withUnits) {
    Split pounds = splitFixed(poundsOf(1, ounces), 4);
    std::vector<std::string> boxes;
    if (withUnits)
        boxes.push_back(pounds.whole);
    addCharacters(boxes, pounds.decimals);
    return boxes;
}

std::vector<std::string> advertisingDigits(double percent) {
    Split split = splitFixed(percent, 2);
    std::string tens = split.whole.size() > 1 ? split.whole.substr(0, split.whole.size() - 1) : "0";
    std::vector<std::string> boxes = {tens, split.whole.substr(split.whole.size() - 1)};
    addCharacters(boxes, split.decimals);
    return boxes;
}

std::vector<std::string> cassDateCharacters(const std::string& month, const std::string& day,
                                            const std::string& year) {
    // A date of nothing but zeros is no date (the settings dialog keeps empty boxes as "00"):
    // the boxes stay empty for the mailer to fill in.
    auto zeroOrEmpty = [](const std::string& part) {
        return part.find_first_not_of('0') == std::string::npos;
    };
    if (zeroOrEmpty(month) && zeroOrEmpty(day) && zeroOrEmpty(year))
        return std::vector<std::string>(8);
    std::vector<std::string> boxes;
    addPart(boxes, datePart(month, 2), 2);
    addPart(boxes, datePart(day, 2), 2);
    addPart(boxes, yearPart(year), 4);
    return boxes;
}

std::string totalWeightText(double pounds) {
    if (!(pounds >= 0.0001))
        return "0";
    constexpr int Significant = 5;
    int wholeDigits = static_cast<int>(std::floor(std::log10(pounds))) + 1;
    std::string text = poundsText(pounds, std::max(0, Significant - wholeDigits));
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

} // namespace quillan
