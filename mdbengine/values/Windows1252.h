#pragma once

// Windows-1252, the code page Jet3 keeps its text in and the program's lists are written in.
// The five bytes it leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1
// controls of the same number, as Windows converts them, so that they survive a round trip.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mdbengine {

char32_t windows1252ToCodePoint(std::uint8_t byte);
std::string windows1252ToUtf8(std::string_view text);

// The byte of a character, nothing when the code page lacks it.
std::optional<std::uint8_t> windows1252Byte(char32_t code);

// The first character of a UTF-8 text that Windows-1252 lacks (U+FFFD for bytes that are not
// UTF-8), nothing when it has them all.
std::optional<char32_t> firstOutsideWindows1252(std::string_view utf8);

// UTF-8 text in Windows-1252, to be shown: "?" for each character the code page lacks, for
// the five controls of its unassigned bytes and for each byte that is not UTF-8.
std::string utf8ToWindows1252(std::string_view utf8);

} // namespace mdbengine
