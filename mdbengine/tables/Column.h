#pragma once

#include <cstdint>
#include <string>

namespace mdbengine::file {

enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10,
};

// One column of a table definition.
struct Column {
    std::string name; // UTF-8
    ColumnType type = ColumnType::Text;
    // The column's number in rows (its null-mask bit); deleted columns keep theirs.
    std::uint16_t number = 0;
    // Its place among the table's columns, as shown to users.
    std::uint16_t ordinal = 0;
    // Its entry in a row's table of variable-length columns.
    std::uint16_t varIndex = 0;
    // Where a fixed-length column's bytes start after the row's column count.
    std::uint16_t fixedOffset = 0;
    // Bytes; Jet4 text takes two per character.
    std::uint16_t length = 0;
    std::uint8_t flags = 0;
    std::uint8_t precision = 0;
    std::uint8_t scale = 0;
    bool compressedText = false; // Jet4: values may be stored compressed

    static constexpr std::uint8_t fixedFlag = 0x01;
    static constexpr std::uint8_t autoNumberFlag = 0x04;
    static constexpr std::uint8_t autoGuidFlag = 0x40;

    bool isFixed() const { return (flags & fixedFlag) != 0; }
    bool isAutoNumber() const { return (flags & (autoNumberFlag | autoGuidFlag)) != 0; }
    bool isLongValue() const { return type == ColumnType::Memo || type == ColumnType::Ole; }
};

} // namespace mdbengine::file
