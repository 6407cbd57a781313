#include "mdbengine/tables/DecimalText.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/values/DecimalNumber.h"

#include <algorithm>

namespace mdbengine::file {

namespace {

// 128 bits hold every number of 38 digits.
constexpr unsigned mostDigits = 38;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string decimalText(std::span<const std::uint8_t> stored, unsigned scale) {
    unsigned __int128 magnitude = 0;
    for (int word = 0; word < 4; ++word)
        magnitude = (magnitude << 32) | get32(stored.data() + 1 + 4 * word);
    std::string digits;
    do {
        digits += static_cast<char>('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    scale = std::min(scale, 38u);
    while (digits.size() <= scale)
        digits += '0';
    std::reverse(digits.begin(), digits.end());
    if (scale > 0)
        digits.insert(digits.size() - scale, ".");
    bool negative = (stored[0] & 0x80) != 0 && digits.find_first_not_of("0.") != std::string::npos;
    return negative ? "-" + digits : digits;
}

std::optional<std::string> scaledDecimalText(std::string_view text, unsigned precision,
                                             unsigned scale) {
    std::optional<WrittenDecimal> written = writtenDecimal(text);
    if (!written)
        return std::nullopt;
    bool negative = written->negative;
    std::string_view whole = written->whole;
    std::string_view fraction = written->fraction;
    precision = std::min(precision, mostDigits);
    scale = std::min(scale, precision);
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() + scale > precision)
        return std::nullopt;
    std::string digits(whole);
    for (unsigned i = 0; i < scale; ++i)
        digits += i < fraction.size() ? fraction[i] : '0';
    if (fraction.size() > scale && fraction[scale] >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    if (digits.size() > precision)
        return std::nullopt;
    while (digits.size() <= scale)
        digits.insert(digits.begin(), '0');
    if (scale > 0)
        digits.insert(digits.size() - scale, ".");
    negative = negative && digits.find_first_not_of("0.") != std::string::npos;
    return negative ? "-" + digits : digits;
}

std::vector<std::uint8_t> decimalBytes(std::string_view text) {
    std::vector<std::uint8_t> stored(17, 0);
    unsigned __int128 magnitude = 0;
    for (char c : text)
        if (isDigit(c))
            magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
    if (!text.empty() && text.front() == '-')
        stored[0] = 0x80;
    for (int word = 3; word >= 0; --word, magnitude >>= 32)
        put32(stored.data() + 1 + 4 * word, static_cast<std::uint32_t>(magnitude));
    return stored;
}

} // namespace mdbengine::file
