#pragma once

// Reads a structure field by field, refusing to step past its end.

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"

#include <cstdint>
#include <span>

namespace mdbengine::file {

class ByteCursor {
public:
    ByteCursor(std::span<const std::uint8_t> bytes, std::size_t position = 0)
        : bytes_(bytes), position_(position) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    void seek(std::size_t position) {
        require(position, 0);
        position_ = position;
    }
    void skip(std::size_t count) { take(count); }

    std::uint8_t u8() { return *take(1); }
    std::uint16_t u16() { return get16(take(2)); }
    std::uint32_t u32() { return get32(take(4)); }
    std::span<const std::uint8_t> bytes(std::size_t count) { return {take(count), count}; }

private:
    void require(std::size_t from, std::size_t count) const {
        if (from > bytes_.size() || count > bytes_.size() - from)
            throw FormatError("a table definition ends early");
    }
    const std::uint8_t* take(std::size_t count) {
        require(position_, count);
        const std::uint8_t* p = bytes_.data() + position_;
        position_ += count;
        return p;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_;
};

} // namespace mdbengine::file
