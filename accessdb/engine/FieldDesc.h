#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <string>

namespace accessdb {

// Logical field types of the engine.
namespace fldtype {
constexpr std::uint16_t UNKNOWN = 0;
constexpr std::uint16_t ZSTRING = 1;
constexpr std::uint16_t DATE = 2;
constexpr std::uint16_t BLOB = 3;
constexpr std::uint16_t BOOL = 4;
constexpr std::uint16_t INT16 = 5;
constexpr std::uint16_t INT32 = 6;
constexpr std::uint16_t FLOAT = 7;
constexpr std::uint16_t BCD = 8;
constexpr std::uint16_t BYTES = 9;
constexpr std::uint16_t TIME = 10;
constexpr std::uint16_t TIMESTAMP = 11;
constexpr std::uint16_t UINT16 = 12;
constexpr std::uint16_t UINT32 = 13;
constexpr std::uint16_t FLOATIEEE = 14;
constexpr std::uint16_t VARBYTES = 15; // also the text of filter constants
constexpr std::uint16_t INT64 = 19;
} // namespace fldtype

// The engine's field descriptor (62 bytes packed). The last two words carry the type and
// size in which the field is exchanged with callers.
struct FieldDesc {
    static constexpr std::size_t Size = 62;
    static constexpr std::size_t NameOffset = 2;
    static constexpr std::size_t NameSize = 32;
    static constexpr std::size_t TypeOffset = 34;
    static constexpr std::size_t LocalTypeOffset = 58;
    static constexpr std::size_t LocalSizeOffset = 60;
    static_assert(NameOffset + NameSize == TypeOffset);
    static_assert(LocalSizeOffset + 2 == Size);

    std::uint16_t fieldNumber = 0;
    std::string name; // at most 31 characters
    std::uint16_t type = 0;
    std::uint16_t subType = 0;
    std::int16_t units1 = 0;
    std::int16_t units2 = 0;
    std::uint16_t offset = 0;
    std::uint16_t length = 0;
    std::uint16_t nullOffset = 0;
    std::uint32_t vchkKind = 0;
    std::uint32_t rights = 0;
    std::uint16_t calculated = 0;
    std::uint16_t localType = 0;
    std::uint16_t localSize = 0;

    void pack(Byte* out) const;
    static FieldDesc unpack(const Byte* in);
    void setName(const std::string& text) { name = text.substr(0, NameSize - 1); }
};

// Record properties (14 bytes packed).
struct RecordProps {
    static constexpr std::size_t Size = 14;
    enum Status : std::uint16_t { Unmodified = 0, Modified = 1, Inserted = 2, Deleted = 3 };

    std::uint32_t seqNumber = 0;
    std::uint32_t physicalRecord = 0;
    std::uint16_t recordStatus = 0;
    std::uint16_t seqNumberChanged = 0;
    std::int16_t deleteFlag = 0;

    void pack(Byte* out) const;
    static RecordProps unpack(const Byte* in);
};

} // namespace accessdb
