#pragma once

// The engine's text is UTF-8: values, names and statements alike (paths are the system's
// bytes). Jet4 keeps UTF-16 and Jet3 Windows-1252; the levels that store text convert at
// their edge.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mdbengine {

// The code point of the UTF-8 sequence at `at`, which moves past it; nothing for bytes that
// are not UTF-8 (a stray continuation, a long form, a surrogate, beyond U+10FFFF), with
// `at` past the first of them.
std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& at);

bool isUtf8(std::string_view text);

void appendUtf8(char32_t code, std::string& out);

// The characters of a text; each byte that is not UTF-8 gives U+FFFD.
std::vector<char32_t> codePoints(std::string_view utf8);

// How many characters a text holds (a byte that is not UTF-8 counts as one), and the part of
// it from character `from` on, `count` characters long at most.
std::size_t characterCount(std::string_view utf8);
std::string_view characterRange(std::string_view utf8, std::size_t from, std::size_t count);

// The UTF-16 units of a character into `units`: how many (1, or 2 beyond U+FFFF).
std::size_t utf16Of(char32_t code, std::uint16_t (&units)[2]);

// The UTF-16 units of a text (a character beyond U+FFFF takes two); a byte that is not
// UTF-8 gives U+FFFD.
std::vector<std::uint16_t> utf16Units(std::string_view utf8);
// How many UTF-16 units the text takes, as a Jet4 field counts its characters.
std::size_t utf16Length(std::string_view utf8);

// A character as a message names it: the character and its number ("'Ł' (U+0141)").
std::string describeCharacter(char32_t code);

} // namespace mdbengine
