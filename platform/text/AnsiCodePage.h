#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The ANSI code page: the 8-bit character set of texts that carry no marking of their own
// (the 8-bit strings of spreadsheet files). It is 1252 (Western), the one table this layer
// has.
class AnsiCodePage {
public:
    static int current();

    static char16_t toUnicode(uint8_t byte);
    static std::u16string toUtf16(std::string_view text);
    // Characters the code page lacks become "?" (one for each character, surrogate pairs
    // included).
    static std::string fromUtf16(std::u16string_view text);
    // True when the byte means the same character here as in ISO 8859-1, so that a reader
    // that takes 8-bit text as Latin-1 sees the right character.
    static bool sameAsLatin1(uint8_t byte);
};

} // namespace platform
