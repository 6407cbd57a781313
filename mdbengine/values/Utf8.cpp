#include "mdbengine/values/Utf8.h"

#include <cstdio>

namespace mdbengine {

namespace {

constexpr char32_t replacement = 0xFFFD;

template <typename Visit>
void forEachCodePoint(std::string_view utf8, Visit visit) {
    for (std::size_t at = 0; at < utf8.size();)
        visit(nextCodePoint(utf8, at).value_or(replacement));
}

} // namespace

std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& at) {
    auto byte = static_cast<std::uint8_t>(utf8[at++]);
    if (byte < 0x80)
        return byte;
    std::size_t extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    if (extra == 0 || byte >= 0xF8 || at + extra > utf8.size())
        return std::nullopt;
    char32_t code = byte & (0x3F >> extra);
    for (std::size_t i = 0; i < extra; ++i) {
        auto next = static_cast<std::uint8_t>(utf8[at + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        code = code << 6 | (next & 0x3F);
    }
    static constexpr char32_t shortest[] = {0, 0x80, 0x800, 0x10000};
    if (code < shortest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    at += extra;
    return code;
}

bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();)
        if (static_cast<std::uint8_t>(text[at]) < 0x80)
            ++at;
        else if (!nextCodePoint(text, at))
            return false;
    return true;
}

void appendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::vector<char32_t> codePoints(std::string_view utf8) {
    std::vector<char32_t> codes;
    codes.reserve(utf8.size());
    forEachCodePoint(utf8, [&](char32_t code) { codes.push_back(code); });
    return codes;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    forEachCodePoint(utf8, [&](char32_t) { ++count; });
    return count;
}

std::string_view characterRange(std::string_view utf8, std::size_t from, std::size_t count) {
    auto skip = [&](std::size_t at, std::size_t characters) {
        for (; characters > 0 && at < utf8.size(); --characters)
            nextCodePoint(utf8, at);
        return at;
    };
    std::size_t start = skip(0, from);
    return utf8.substr(start, skip(start, count) - start);
}

std::size_t utf16Of(char32_t code, std::uint16_t (&units)[2]) {
    if (code < 0x10000) {
        units[0] = static_cast<std::uint16_t>(code);
        return 1;
    }
    code -= 0x10000;
    units[0] = static_cast<std::uint16_t>(0xD800 | code >> 10);
    units[1] = static_cast<std::uint16_t>(0xDC00 | (code & 0x3FF));
    return 2;
}

std::vector<std::uint16_t> utf16Units(std::string_view utf8) {
    std::vector<std::uint16_t> units;
    units.reserve(utf8.size());
    forEachCodePoint(utf8, [&](char32_t code) {
        std::uint16_t pair[2];
        units.insert(units.end(), pair, pair + utf16Of(code, pair));
    });
    return units;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t length = 0;
    forEachCodePoint(utf8, [&](char32_t code) { length += code < 0x10000 ? 1 : 2; });
    return length;
}

std::string describeCharacter(char32_t code) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
    // Half a surrogate pair (only a damaged text holds one) has no UTF-8 of its own.
    if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF)
        return number;
    std::string text = "'";
    appendUtf8(code, text);
    return text + "' (" + number + ")";
}

} // namespace mdbengine
