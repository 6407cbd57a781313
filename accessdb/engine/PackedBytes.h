#pragma once

// Little-endian reads and writes at explicit offsets of the engine's packed records.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace accessdb {

using Byte = std::uint8_t;

inline std::uint16_t getU16(const Byte* p, std::size_t offset) {
    return static_cast<std::uint16_t>(p[offset] | (p[offset + 1] << 8));
}
inline std::int16_t getI16(const Byte* p, std::size_t offset) {
    return static_cast<std::int16_t>(getU16(p, offset));
}
inline std::uint32_t getU32(const Byte* p, std::size_t offset) {
    return static_cast<std::uint32_t>(p[offset]) |
           (static_cast<std::uint32_t>(p[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(p[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(p[offset + 3]) << 24);
}
inline std::int32_t getI32(const Byte* p, std::size_t offset) {
    return static_cast<std::int32_t>(getU32(p, offset));
}
inline void putU16(Byte* p, std::size_t offset, std::uint16_t v) {
    p[offset] = static_cast<Byte>(v);
    p[offset + 1] = static_cast<Byte>(v >> 8);
}
inline void putU32(Byte* p, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[offset + i] = static_cast<Byte>(v >> (8 * i));
}
inline void putI16(Byte* p, std::size_t offset, std::int16_t v) {
    putU16(p, offset, static_cast<std::uint16_t>(v));
}
inline void putI32(Byte* p, std::size_t offset, std::int32_t v) {
    putU32(p, offset, static_cast<std::uint32_t>(v));
}

// A value as this machine keeps it (doubles, timestamps, the field types' native
// integers), read from bytes that need not be aligned.
template <typename T>
T load(const Byte* p) {
    T value{};
    std::memcpy(&value, p, sizeof value);
    return value;
}

// A zero-terminated text in a fixed field of `size` bytes: at most size - 1 characters.
inline void putText(Byte* p, std::size_t offset, std::size_t size, std::string_view text) {
    std::size_t n = text.size() < size ? text.size() : size - 1;
    std::memcpy(p + offset, text.data(), n);
    std::memset(p + offset + n, 0, size - n);
}
inline std::string getText(const Byte* p, std::size_t offset, std::size_t size) {
    const char* start = reinterpret_cast<const char*>(p + offset);
    return std::string(start, ::strnlen(start, size));
}

// The text of a zero-terminated buffer of at most `size` bytes.
inline std::string textOf(const Byte* p, std::size_t size) {
    return getText(p, 0, size);
}

} // namespace accessdb
