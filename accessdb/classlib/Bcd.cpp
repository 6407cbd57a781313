#include "accessdb/classlib/Bcd.h"

#include <algorithm>
#include <cctype>

namespace accessdb {

namespace {

constexpr Byte negativeBit = 0x80;
constexpr Byte placesMask = 0x3F;

int digitAt(const Byte* bcd, int index) {
    Byte pair = bcd[2 + index / 2];
    return index % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

void putDigit(BcdBytes& bcd, int index, int digit) {
    Byte& pair = bcd[static_cast<std::size_t>(2 + index / 2)];
    pair = index % 2 == 0 ? static_cast<Byte>((pair & 0x0F) | (digit << 4))
                          : static_cast<Byte>((pair & 0xF0) | digit);
}

// Adds one at the last place of a digit string; false when it carries out of the front.
bool roundUp(std::string& digits) {
    for (auto at = digits.rbegin(); at != digits.rend(); ++at) {
        if (*at != '9') {
            ++*at;
            return true;
        }
        *at = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

} // namespace

std::optional<BcdBytes> bcdFromText(const std::string& text, int precision, int places) {
    if (precision < 1 || precision > MaxBcdDigits || places < 0 || places > precision)
        return std::nullopt;
    std::size_t at = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (at == std::string::npos)
        return std::nullopt;
    bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+')
        ++at;
    std::string whole, fraction;
    bool point = false;
    for (; at <= end; ++at) {
        char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            (point ? fraction : whole) += c;
        } else {
            return std::nullopt;
        }
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    bool up = fraction.size() > static_cast<std::size_t>(places) &&
              fraction[static_cast<std::size_t>(places)] >= '5';
    fraction.resize(static_cast<std::size_t>(places), '0');
    std::string digits = whole + fraction;
    if (up)
        roundUp(digits);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > static_cast<std::size_t>(precision))
        return std::nullopt;
    digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
    BcdBytes bcd{};
    bcd[0] = static_cast<Byte>(precision);
    bool zero = digits.find_first_not_of('0') == std::string::npos;
    bcd[1] = static_cast<Byte>((negative && !zero ? negativeBit : 0) | places);
    for (int i = 0; i < precision; ++i)
        putDigit(bcd, i, digits[static_cast<std::size_t>(i)] - '0');
    return bcd;
}

std::string bcdToText(const Byte* bcd) {
    int precision = std::min<int>(bcd[0], MaxBcdDigits);
    int places = std::min<int>(bcd[1] & placesMask, precision);
    std::string whole, fraction;
    for (int i = 0; i < precision; ++i)
        (i < precision - places ? whole : fraction) +=
            static_cast<char>('0' + digitAt(bcd, i) % 10);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.empty())
        whole = "0";
    std::string text = (bcd[1] & negativeBit) != 0 ? "-" + whole : whole;
    return fraction.empty() ? text : text + "." + fraction;
}

} // namespace accessdb
