#include "mdbengine/values/Windows1252.h"

#include "mdbengine/values/Utf8.h"

#include <array>

namespace mdbengine {

namespace {

// 0x80 to 0x9F; the rest of the bytes are the first 256 code points.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool unassigned(std::uint8_t byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

} // namespace

char32_t windows1252ToCodePoint(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? highControls[byte - 0x80] : byte;
}

std::string windows1252ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80)
            utf8 += c;
        else
            appendUtf8(windows1252ToCodePoint(byte), utf8);
    }
    return utf8;
}

std::optional<std::uint8_t> windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<std::uint8_t>(code);
    for (std::size_t i = 0; i < highControls.size(); ++i)
        if (highControls[i] == code)
            return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

std::optional<char32_t> firstOutsideWindows1252(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        if (static_cast<std::uint8_t>(utf8[at]) < 0x80) {
            ++at;
            continue;
        }
        std::optional<char32_t> code = nextCodePoint(utf8, at);
        if (!code)
            return 0xFFFD;
        if (!windows1252Byte(*code))
            return code;
    }
    return std::nullopt;
}

std::string utf8ToWindows1252(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        if (static_cast<std::uint8_t>(utf8[at]) < 0x80) {
            text += utf8[at++];
            continue;
        }
        std::optional<char32_t> code = nextCodePoint(utf8, at);
        std::optional<std::uint8_t> byte = code ? windows1252Byte(*code) : std::nullopt;
        text += byte && !unassigned(*byte) ? static_cast<char>(*byte) : '?';
    }
    return text;
}

} // namespace mdbengine
