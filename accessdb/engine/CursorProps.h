#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <string>

namespace accessdb {

// What a cursor tells about itself (427 bytes packed). Fields the engine never fills are
// left out and packed as zeros.
struct CursorProps {
    static constexpr std::size_t Size = 427;
    static constexpr std::size_t ReservedOffset = 395;
    static_assert(ReservedOffset + 32 == Size);

    std::string tableName; // at most 260 characters
    std::uint16_t nameSize = 0;
    std::string tableType; // at most 31
    std::uint16_t fieldCount = 0;
    std::uint16_t recordSize = 0;
    std::uint16_t recordBufferSize = 0;
    std::uint16_t keySize = 0;
    std::uint16_t indexCount = 0;
    std::uint16_t vchkCount = 0;
    std::uint16_t refIntCount = 0;
    std::uint16_t bookmarkSize = 0;
    std::int16_t bookmarkStable = 0;
    std::uint32_t openMode = 0;
    std::uint32_t shareMode = 0;
    std::int16_t indexed = 0;
    std::int16_t seqNumbers = 0;
    std::int16_t active = 0;
    std::uint32_t rights = 0;
    std::uint16_t filterCount = 0;
    std::int16_t tempTable = 0;

    void pack(Byte* out) const;
    static CursorProps unpack(const Byte* in);
};

} // namespace accessdb
