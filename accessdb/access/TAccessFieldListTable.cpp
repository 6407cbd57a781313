#include "accessdb/access/TAccessFieldListTable.h"

#include "accessdb/access/AccessFieldTypes.h"
#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessTable.h"
#include "accessdb/access/TDAODatabase.h"

namespace accessdb {

TAccessFieldListTable::TAccessFieldListTable(TBapiListItem* owner, TDAORecordset* recordset,
                                             const std::string& tableName, TAccessTable* cursor,
                                             TDAODatabase* daoDatabase,
                                             TTorvaneCollection* collection)
    : TAccessCatalogTable(owner, collection, tableName) {
    recordset = tableRecordset(recordset, daoDatabase, tableName);
    if (cursor && cursor->fields()) {
        fields_ = cursor->fields();
    } else {
        ownFields_ = recordset->getFields();
        checkAccess(recordset->lastResult());
        fields_ = ownFields_.get();
    }
    setCount(fields_->count());
}

bool TAccessFieldListTable::buildRecord(std::uint16_t index, Byte* record) {
    if (index == 0)
        offset_ = 0;
    auto field = fields_->item(static_cast<std::int16_t>(index));
    std::string name;
    field->getName(name);
    std::int16_t daoType = field->type();
    accesstype::FieldLayout layout = accesstype::fieldLayout(
        daoType, field->size(), daoType == accesstype::Decimal ? field->precision() : 0,
        daoType == accesstype::Decimal ? field->scale() : 0);
    FieldDesc desc;
    desc.fieldNumber = static_cast<std::uint16_t>(index + 1);
    desc.setName(name);
    desc.type = layout.logicalType;
    desc.subType = layout.subType;
    desc.units1 = layout.units;
    desc.units2 = layout.units2;
    desc.offset = offset_;
    desc.length = layout.length;
    desc.rights = (field->attributes() & TDAOField::updatableAttribute) != 0 ? 0 : 1;
    desc.localType = static_cast<std::uint16_t>(daoType);
    desc.localSize = layout.length;
    desc.pack(record);
    offset_ = checked16(std::size_t{offset_} + layout.length);
    return true;
}

} // namespace accessdb
