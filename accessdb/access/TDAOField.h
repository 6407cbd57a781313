#pragma once

#include "accessdb/access/DaoInterface.h"
#include "mdbengine/dao/Field.h"

#include <string>
#include <vector>

namespace accessdb {

// A field of a recordset: its description and the current record's value.
class TDAOField : public DaoInterface<mdbengine::Field> {
public:
    using DaoInterface::DaoInterface;
    static constexpr std::int32_t autoIncrementAttribute = 0x10;
    static constexpr std::int32_t updatableAttribute = 0x20;

    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    // The DAO type code.
    std::int16_t type();
    std::int32_t size();
    // Decimal: its digits and those after the point.
    std::int32_t precision();
    std::int32_t scale();
    std::int32_t attributes();
    // Memo and long binary: the length of the current value; the others: their size.
    std::int32_t fieldSize();

    // Typed readers: a value of another type, Null included, reads as 0 or "".
    double asDouble();
    std::uint8_t asByte();
    std::int16_t asInt16();
    std::int32_t asInt32();
    float asSingle();
    bool asBoolean();
    std::int64_t asCurrency(); // ten-thousandths
    double asDate();           // days since 30 December 1899
    std::string asText();
    Variant rawValue();

    void setValue(const Variant& value);

    // Memo: the value from `offset` on as text; long binary: the bytes.
    std::string getChunk(std::int32_t offset, std::int32_t bytes);
    void appendChunk(const std::vector<std::uint8_t>& bytes);

private:
    Variant read(Variant::Type type);
};

} // namespace accessdb
