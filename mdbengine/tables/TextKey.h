#pragma once

// Index keys of text in the General sort order, the order Access gives a new database.
// Only the first 255 characters are keyed, without the blanks they end with, so "row7 " has
// the key of "row7". Both versions key letters without regard to case. Jet3 keys each
// Windows-1252 byte by one or two primary codes, then lists as half-bytes the accents of the
// letters that have accented forms and of the accented letters. Jet4 keys each character by
// one or two primary codes and a diacritic code; control characters, the apostrophe, the
// hyphens and the dashes have no primary code but are listed last with their place, so that
// "co-op" sorts beside "coop". The codes were read from the indexes of files written by
// Access.
//
// Texts compare as their keys do: a unique index and a comparison agree on what is equal.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace mdbengine::file {

// A Jet3 text value as stored.
void appendJet3TextKey(std::span<const std::uint8_t> text, std::vector<std::uint8_t>& key);

// A Jet4 text value as UTF-16 units. False, with `key` as it was and the character in
// `uncoded`, when a character is one whose code is not known here (outside the first 256
// code points and the characters of Windows-1252).
bool appendJet4TextKey(std::span<const std::uint16_t> text, std::vector<std::uint8_t>& key,
                       char32_t* uncoded = nullptr);

// The key of a text (UTF-8) to compare it in the order of a Jet3 or Jet4 database. A
// character no code is known for (or that Jet3's code page lacks) sorts after all others, by
// its number: such a text has a place among the others, though no index can hold it.
void appendTextKey(std::string_view text, bool jet4, std::vector<std::uint8_t>& key);

} // namespace mdbengine::file
