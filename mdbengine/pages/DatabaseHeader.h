#pragma once

// The first page of a Jet file: the format version, and, under an RC4 mask, the database
// password, the page-encoding key and the creation date.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace mdbengine::file {

class DatabaseHeader {
public:
    // The format a file starts with, from its first bytes: page type 0, the "Standard Jet
    // DB" signature and a version byte of 0 (Jet3) or 1 (Jet4). Anything else (an ACE file,
    // a newer engine, another kind of file) has none.
    static const JetFormat* recogniseFormat(std::span<const std::uint8_t> firstBytes);

    // The header page; its size must be the format's page size.
    DatabaseHeader(const JetFormat& format, std::span<const std::uint8_t> page);

    const JetFormat& format() const { return *format_; }
    bool hasPassword() const;
    // Passwords are compared exactly, as the engine does.
    bool passwordMatches(std::string_view password) const;
    // Non-zero when every page after the first is RC4-encoded with this key.
    std::uint32_t encodingKey() const { return encodingKey_; }

private:
    const JetFormat* format_;
    std::vector<std::uint16_t> password_; // without the trailing zeros
    std::uint32_t encodingKey_ = 0;
};

} // namespace mdbengine::file
