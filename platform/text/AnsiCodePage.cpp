#include "platform/text/AnsiCodePage.h"

#include <array>

namespace platform {

namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined map to the control
// characters of the same value, as the platform's own conversion does, so they survive a
// round trip.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char fromUnicode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (size_t i = 0; i < Windows1252High.size(); ++i)
        if (Windows1252High[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

int AnsiCodePage::current() {
    return 1252;
}

char16_t AnsiCodePage::toUnicode(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return Windows1252High[byte - 0x80];
    return byte;
}

std::u16string AnsiCodePage::toUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (char c : text)
        result.push_back(toUnicode(static_cast<uint8_t>(c)));
    return result;
}

std::string AnsiCodePage::fromUtf16(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                    text[i + 1] <= 0xDFFF;
        if (pair)
            ++i;
        result.push_back(pair ? '?' : fromUnicode(c));
    }
    return result;
}

bool AnsiCodePage::sameAsLatin1(uint8_t byte) {
    return toUnicode(byte) == byte;
}

} // namespace platform
