#pragma once

#include <cstdint>
#include <string_view>

namespace xls {

// Bounds-checked reading of one record body (or any byte block of a file). A scalar read
// past the end reads as 0 there, never stale bytes of another record; every read whose
// extent comes from a count or length in the file is checked and raises "record too short".
class RecordCursor {
public:
    RecordCursor() = default;
    explicit RecordCursor(std::string_view body) : body_(body) {}

    std::string_view data() const { return body_; }
    size_t size() const { return body_.size(); }

    // Scalars at an offset, little-endian; missing bytes read as 0. The whole-value case is
    // inline: handlers read a few fields of every record.
    uint8_t u8(size_t offset) const {
        return offset < body_.size() ? static_cast<uint8_t>(body_[offset]) : 0;
    }
    uint16_t u16(size_t offset) const {
        if (offset + 2 <= body_.size() && offset + 2 > offset)
            return static_cast<uint16_t>(static_cast<uint8_t>(body_[offset]) |
                                         (static_cast<uint8_t>(body_[offset + 1]) << 8));
        return static_cast<uint16_t>(partial(offset, 2));
    }
    int16_t i16(size_t offset) const { return static_cast<int16_t>(u16(offset)); }
    uint32_t u32(size_t offset) const {
        if (offset + 4 <= body_.size() && offset + 4 > offset)
            return static_cast<uint32_t>(u16(offset)) |
                   (static_cast<uint32_t>(u16(offset + 2)) << 16);
        return static_cast<uint32_t>(partial(offset, 4));
    }
    int32_t i32(size_t offset) const { return static_cast<int32_t>(u32(offset)); }
    double f64(size_t offset) const;

    // count bytes at offset, all of them there.
    std::string_view bytes(size_t offset, size_t count) const;
    void require(size_t offset, size_t count) const;

    // Sequential reading from the cursor's position; every read is checked.
    size_t position() const { return position_; }
    size_t remaining() const { return body_.size() - position_; }
    void seek(size_t position);
    void skip(size_t count);
    uint8_t takeU8();
    uint16_t takeU16();
    uint32_t takeU32();
    double takeF64();
    std::string_view take(size_t count);

private:
    // A value that reaches past the end: the missing bytes are 0.
    uint64_t partial(size_t offset, size_t width) const;

    std::string_view body_;
    size_t position_ = 0;
};

} // namespace xls
