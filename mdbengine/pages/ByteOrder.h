#pragma once

// Little-endian integers as Jet stores them on its pages.

#include <cstdint>
#include <cstring>

namespace mdbengine::file {

inline std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t get24(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

inline std::uint32_t get32(const std::uint8_t* p) {
    return get24(p) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t get64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(get32(p)) | (static_cast<std::uint64_t>(get32(p + 4)) << 32);
}

inline double getDouble(const std::uint8_t* p) {
    std::uint64_t bits = get64(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline float getFloat(const std::uint8_t* p) {
    std::uint32_t bits = get32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put24(std::uint8_t* p, std::uint32_t v) {
    put16(p, v);
    p[2] = static_cast<std::uint8_t>(v >> 16);
}

inline void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

inline void put64(std::uint8_t* p, std::uint64_t v) {
    put32(p, static_cast<std::uint32_t>(v));
    put32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

inline void putDouble(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    put64(p, bits);
}

inline void putFloat(std::uint8_t* p, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    put32(p, bits);
}

} // namespace mdbengine::file
