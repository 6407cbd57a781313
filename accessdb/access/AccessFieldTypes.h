#pragma once

// How the Access driver lays out and describes a DAO field: its size in the record buffer
// and the engine's logical type, subtype and units for it, by DAO type code.

#include <cstdint>

namespace accessdb::accesstype {

// DAO type codes.
constexpr std::int16_t Boolean = 1;
constexpr std::int16_t Byte = 2;
constexpr std::int16_t Integer = 3;
constexpr std::int16_t Long = 4;
constexpr std::int16_t Currency = 5;
constexpr std::int16_t Single = 6;
constexpr std::int16_t Double = 7;
constexpr std::int16_t Date = 8;
constexpr std::int16_t Text = 10;
constexpr std::int16_t LongBinary = 11;
constexpr std::int16_t Memo = 12;
constexpr std::int16_t Guid = 15;
constexpr std::int16_t Decimal = 20;

// Blob subtypes.
constexpr std::uint16_t MemoSubtype = 22;
constexpr std::uint16_t LongBinarySubtype = 23;

// Memo and long binary fields hold a 12-byte blob record: a reference to the open blob,
// the value's size and the bookmark of its record.
constexpr std::uint16_t BlobRecordSize = 12;

struct FieldLayout {
    std::uint16_t length = 0; // bytes in the record buffer
    std::uint16_t logicalType = 0;
    std::uint16_t subType = 0;
    std::int16_t units = 0;
    std::int16_t units2 = 0;
};

// The layout of a field of the type and DAO size; a Decimal field's also of its precision
// and scale, which its description reports as its two units. A Decimal is kept in the
// engine's binary-coded form, as exact as it is stored.
FieldLayout fieldLayout(std::int16_t daoType, std::int32_t daoSize, std::int32_t precision = 0,
                        std::int32_t scale = 0);

// Days since 30 December 1899 as DAO keeps them (before that day the time counts forward
// from the day's start although the day counts back) to the engine's timestamp in
// milliseconds, and back. A date of 0 stays 0.
double timestampFromDate(double daoDate);
double dateFromTimestamp(double timestamp);

} // namespace accessdb::accesstype
