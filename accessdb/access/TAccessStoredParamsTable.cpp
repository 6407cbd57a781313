#include "accessdb/access/TAccessStoredParamsTable.h"

#include "accessdb/access/AccessFieldTypes.h"
#include "accessdb/access/TDAOQuerydef.h"
#include "accessdb/engine/EngineText.h"

namespace accessdb {
namespace {

// A parameter's size, by DAO type.
std::uint16_t parameterSize(std::int16_t daoType) {
    switch (daoType) {
    case accesstype::Byte:
    case accesstype::Integer:
        return 1;
    case accesstype::Single:
    case accesstype::Double:
    case accesstype::Date:
        return 8;
    case accesstype::LongBinary:
    case accesstype::Memo:
        return 12;
    case accesstype::Guid:
        return 16;
    default:
        return 0;
    }
}

} // namespace

TAccessStoredParamsTable::TAccessStoredParamsTable(TBapiListItem* database, TDAOQuerydef* queryDef,
                                                   TTorvaneCollection* collection)
    : TAccessCatalogTable(database, collection, "PARAMETERS") {
    if (queryDef) {
        parameters_ = queryDef->parameters();
        setCount(parameters_->count());
    }
}

bool TAccessStoredParamsTable::buildRecord(std::uint16_t index, Byte* record) {
    auto parameter = parameters_->item(static_cast<std::int16_t>(index));
    std::string name;
    parameter->getName(name);
    std::int16_t daoType = parameter->type();
    accesstype::FieldLayout layout = accesstype::fieldLayout(daoType, 0);
    std::uint16_t size = parameterSize(daoType);
    putU16(record, 0, static_cast<std::uint16_t>(index + 1));
    putText(record, NameOffset, 32, leftChars(name, 31));
    putU32(record, KindOffset, 1);
    putU16(record, TypeOffset, layout.logicalType);
    putU16(record, SubTypeOffset, layout.subType);
    putU16(record, UnitsOffset, size);
    putU16(record, LengthOffset, size);
    return true;
}

} // namespace accessdb
