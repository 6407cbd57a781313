#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <array>
#include <cstdint>
#include <string>

namespace accessdb {

// An index of a table (893 bytes packed).
struct IndexDesc {
    static constexpr std::size_t Size = 893;
    static constexpr std::size_t MaxKeyFields = 16;
    static constexpr std::size_t ReservedOffset = 861;
    static_assert(ReservedOffset + 32 == Size);

    std::string name; // at most 260 characters
    std::uint16_t indexId = 0;
    std::string tagName; // at most 31
    std::string format;  // at most 31
    std::uint16_t primary = 0;
    std::uint16_t unique = 0;
    std::uint16_t descending = 0;
    std::uint16_t maintained = 0;
    std::uint16_t subset = 0;
    std::uint16_t expressionIndex = 0;
    std::uint16_t cost = 0;
    std::uint16_t keyFieldCount = 0;
    std::uint16_t keyLength = 0;
    std::uint16_t outOfDate = 0;
    std::uint16_t keyExpressionType = 0;
    std::array<std::uint16_t, MaxKeyFields> keyFields{};
    std::string keyExpression; // at most 220
    std::string keyCondition;  // at most 220
    std::uint16_t caseInsensitive = 0;
    std::uint16_t blockSize = 0;
    std::uint16_t restrictionNumber = 0;
    std::array<std::uint16_t, MaxKeyFields> descendingFields{};

    void pack(Byte* out) const;
    static IndexDesc unpack(const Byte* in);
};

} // namespace accessdb
