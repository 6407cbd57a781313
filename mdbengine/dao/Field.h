#pragma once

// A column of an open recordset; its value is the current record's.

#include "mdbengine/dao/Errors.h"
#include "mdbengine/tables/Column.h"
#include "mdbengine/values/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mdbengine {

class Recordset;

class Field {
public:
    // Type codes.
    static constexpr std::int16_t typeBoolean = 1;
    static constexpr std::int16_t typeByte = 2;
    static constexpr std::int16_t typeInteger = 3;
    static constexpr std::int16_t typeLong = 4;
    static constexpr std::int16_t typeCurrency = 5;
    static constexpr std::int16_t typeSingle = 6;
    static constexpr std::int16_t typeDouble = 7;
    static constexpr std::int16_t typeDate = 8;
    static constexpr std::int16_t typeBinary = 9;
    static constexpr std::int16_t typeText = 10;
    static constexpr std::int16_t typeLongBinary = 11;
    static constexpr std::int16_t typeMemo = 12;
    static constexpr std::int16_t typeGuid = 15;
    static constexpr std::int16_t typeDecimal = 20;

    // Attributes.
    static constexpr std::int32_t fixedAttribute = 0x1;
    static constexpr std::int32_t variableAttribute = 0x2;
    static constexpr std::int32_t autoIncrementAttribute = 0x10;
    static constexpr std::int32_t updatableAttribute = 0x20;

    // `name`: what a query calls the column; its own name when empty.
    Field(std::shared_ptr<Recordset> recordset, std::size_t column, std::string name = {});

    const std::string& name() const;
    Status rename(const std::string& name);
    std::int16_t type() const;
    // Bytes, or characters for Text; 0 for memo and long binary.
    std::int32_t size() const;
    // A Decimal field's digits, and how many of them follow the point; 0 for the others.
    std::int32_t precision() const;
    std::int32_t scale() const;
    std::int32_t attributes() const;

    // The length of the current record's value (characters for memo, bytes for long
    // binary); 0 when it is Null.
    Status fieldSize(std::int32_t& size) const;
    Status value(Variant& value) const;
    Status setValue(const Variant& value);
    // Part of a memo (as text, counted in characters) or long binary value (as bytes).
    Status getChunk(std::int32_t offset, std::int32_t bytes, Variant& chunk) const;
    Status appendChunk(const Variant& chunk);

    static std::int16_t typeOf(file::ColumnType type);

private:
    const file::Column& column() const;

    std::shared_ptr<Recordset> recordset_;
    std::size_t column_;
    std::string name_;
};

} // namespace mdbengine
