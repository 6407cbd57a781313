#pragma once

// Text between Jet's storage forms and the engine's UTF-8: Jet3 keeps Windows-1252 bytes;
// Jet4 keeps UTF-16 (little-endian), optionally in its compressed form: a 0xFF 0xFE mark,
// then the text in runs, one byte a character while the characters are among the first 256
// code points and two bytes otherwise, a 0x00 byte switching from one kind of run to the
// other.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mdbengine::file {

// A Jet3 text value: Windows-1252 bytes.
std::string jet3TextToUtf8(std::span<const std::uint8_t> bytes);

// Plain UTF-16 (little-endian), as in names.
std::string ucs2ToUtf8(std::span<const std::uint8_t> bytes);

// A Jet4 text value, compressed or plain, as UTF-16 units.
std::vector<std::uint16_t> jet4TextUnits(std::span<const std::uint8_t> bytes);

// A Jet4 text value, compressed or plain; a surrogate without its other half gives U+FFFD.
std::string jet4TextToUtf8(std::span<const std::uint8_t> bytes);

// A Jet4 text value for storage, compressed when the column allows it, no character has a
// low byte of 0 (which would read as a switch) and it saves space.
std::vector<std::uint8_t> utf8ToJet4Text(std::string_view utf8, bool allowCompression);

// A Jet3 text value for storage; nothing when a character is not in Windows-1252.
std::optional<std::vector<std::uint8_t>> utf8ToJet3Text(std::string_view utf8);

} // namespace mdbengine::file
