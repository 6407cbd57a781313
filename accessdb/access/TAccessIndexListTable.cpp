#include "accessdb/access/TAccessIndexListTable.h"

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessTable.h"
#include "accessdb/access/TDAODatabase.h"
#include "accessdb/engine/EngineText.h"

namespace accessdb {

TAccessIndexListTable::TAccessIndexListTable(TBapiListItem* owner, TDAORecordset* recordset,
                                             const std::string& tableName, TAccessTable* cursor,
                                             TDAODatabase* daoDatabase,
                                             TTorvaneCollection* collection)
    : TAccessCatalogTable(owner, collection, tableName), cursor_(cursor) {
    recordset = tableRecordset(recordset, daoDatabase, tableName);
    indexes_ = recordset->getIndexes();
    std::int16_t count = indexes_->count();
    setCount((indexes_->lastResult() & 0xFFFF) != 0 ? 0 : count);
}

bool TAccessIndexListTable::nextIndex(IndexDesc& descriptor) {
    std::vector<Byte> record(IndexDesc::Size);
    try {
        getNextRecord(LockType::None, record.data(), nullptr);
    } catch (const ETorvaneBoundryError&) {
        return false;
    }
    descriptor = IndexDesc::unpack(record.data());
    return true;
}

bool TAccessIndexListTable::buildRecord(std::uint16_t index, Byte* record) {
    describe(index).pack(record);
    return true;
}

IndexDesc TAccessIndexListTable::describe(std::uint16_t index) {
    auto daoIndex = indexes_->item(static_cast<std::int16_t>(index));
    IndexDesc desc;
    daoIndex->getName(desc.name);
    desc.name = leftChars(desc.name, 260);
    desc.indexId = index;
    desc.primary = daoIndex->primary() ? 1 : 0;
    desc.unique = daoIndex->unique() ? 1 : 0;
    desc.maintained = 1;
    desc.blockSize = 2048;
    auto fields = daoIndex->fields();
    std::int16_t count = fields->count();
    std::size_t keyFields = count < 0 ? 0 : std::min<std::size_t>(count, IndexDesc::MaxKeyFields);
    desc.keyFieldCount = static_cast<std::uint16_t>(keyFields);
    std::size_t keyLength = 0;
    for (std::size_t k = 0; k < keyFields; ++k) {
        auto field = fields->item(static_cast<std::int16_t>(k));
        if (cursor_) {
            std::string name;
            field->getName(name);
            int number = cursor_->fieldCache().indexOfName(name);
            desc.keyFields[k] = static_cast<std::uint16_t>(number);
            if (number > 0)
                keyLength += cursor_->fieldCache().items(number).localSize();
        }
        if ((field->attributes() & 1) != 0) {
            desc.descendingFields[k] = 1;
            if (k == 0)
                desc.descending = 1;
        }
    }
    desc.keyLength = checked16(keyLength);
    return desc;
}

} // namespace accessdb
