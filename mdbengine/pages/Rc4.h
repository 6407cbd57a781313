#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace mdbengine::file {

// The RC4 stream cipher, which Jet uses to mask its header page and, in encoded
// databases, every other page. Applying it twice with the same key restores the bytes.
void applyRc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> bytes);

} // namespace mdbengine::file
