#include "xls/RecordCursor.h"

#include "xls/XlsError.h"

#include <cstring>

namespace xls {

namespace {

uint64_t littleEndian(std::string_view body, size_t offset, size_t width) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        size_t at = offset + i;
        uint8_t byte = at >= offset && at < body.size() ? static_cast<uint8_t>(body[at]) : 0;
        value |= static_cast<uint64_t>(byte) << (8 * i);
    }
    return value;
}

[[noreturn]] void tooShort() {
    throw XlsError("record too short");
}

} // namespace

uint64_t RecordCursor::partial(size_t offset, size_t width) const {
    return littleEndian(body_, offset, width);
}

double RecordCursor::f64(size_t offset) const {
    uint64_t bits = littleEndian(body_, offset, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void RecordCursor::require(size_t offset, size_t count) const {
    if (offset > body_.size() || count > body_.size() - offset)
        tooShort();
}

std::string_view RecordCursor::bytes(size_t offset, size_t count) const {
    require(offset, count);
    return body_.substr(offset, count);
}

void RecordCursor::seek(size_t position) {
    if (position > body_.size())
        tooShort();
    position_ = position;
}

void RecordCursor::skip(size_t count) {
    require(position_, count);
    position_ += count;
}

uint8_t RecordCursor::takeU8() {
    require(position_, 1);
    return u8(position_++);
}

uint16_t RecordCursor::takeU16() {
    require(position_, 2);
    uint16_t value = u16(position_);
    position_ += 2;
    return value;
}

uint32_t RecordCursor::takeU32() {
    require(position_, 4);
    uint32_t value = u32(position_);
    position_ += 4;
    return value;
}

double RecordCursor::takeF64() {
    require(position_, 8);
    double value = f64(position_);
    position_ += 8;
    return value;
}

std::string_view RecordCursor::take(size_t count) {
    std::string_view view = bytes(position_, count);
    position_ += count;
    return view;
}

} // namespace xls
