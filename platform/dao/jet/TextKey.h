#pragma once

// Index keys of text in the General sort order, the order Access gives a new database.
// Both versions key letters without regard to case. Jet3 keys each Windows-1252 byte by one
// or two primary codes, then lists the accents of letters and digits as half-bytes. Jet4
// keys each character by one or two primary codes and a diacritic code; control
// characters, the apostrophe and the hyphens have no primary code but are listed last with
// their place, so that "co-op" sorts beside "coop". The codes were read from the indexes of
// files written by Access.

#include <cstdint>
#include <span>
#include <vector>

namespace platform::dao::jet {

// A Jet3 text value as stored.
void appendJet3TextKey(std::span<const std::uint8_t> text, std::vector<std::uint8_t>& key);

// A Jet4 text value as UTF-16 units. False, with `key` as it was, when a character is one
// whose code is not known here (outside the first 256 code points).
bool appendJet4TextKey(std::span<const std::uint16_t> text, std::vector<std::uint8_t>& key);

} // namespace platform::dao::jet
