#pragma once

// Text between Jet's storage forms and the program's 8-bit text, which is Windows-1252
// (the ANSI code page): Jet3 keeps such bytes as they are; Jet4 keeps UCS-2, optionally in
// its compressed form (a 0xFF 0xFE mark, then one byte per character while the high byte
// is 0, a 0x00 byte switching between one- and two-byte characters). A character that
// Windows-1252 cannot show becomes "?".

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mdbengine::file {

// A Jet3 text value: Windows-1252 bytes already; the five bytes the code page leaves
// unassigned become "?".
std::string jet3TextToAnsi(std::span<const std::uint8_t> bytes);

// Plain UCS-2 (little-endian), as in names.
std::string ucs2ToAnsi(std::span<const std::uint8_t> bytes);

// A Jet4 text value, compressed or plain UCS-2, as UTF-16 units.
std::vector<std::uint16_t> jet4TextUnits(std::span<const std::uint8_t> bytes);

// A Jet4 text value: compressed or plain UCS-2.
std::string jet4TextToAnsi(std::span<const std::uint8_t> bytes);

// One character of Windows-1252 as its UTF-16 unit.
std::uint16_t ansiToUnit(char c);
std::vector<std::uint16_t> ansiToUtf16(std::string_view text);

// UTF-8 text in Windows-1252; nothing when the bytes are not UTF-8.
std::optional<std::string> utf8ToAnsi(std::string_view utf8);

// A Jet4 text value for storage: compressed when the column allows it and it saves space.
std::vector<std::uint8_t> ansiToJet4Text(std::string_view text, bool allowCompression);

} // namespace mdbengine::file
