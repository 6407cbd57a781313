#pragma once

#include "accessdb/access/TAccessCatalogTable.h"
#include "accessdb/access/TDAOIndexes.h"
#include "accessdb/access/TDAORecordset.h"

#include <memory>

namespace accessdb {

class TAccessTable;
class TDAODatabase;

// The indexes of a table as engine index descriptors. Given the cursor, each key field is
// also found among the cursor's fields, which gives its number and the key's length.
class TAccessIndexListTable : public TAccessCatalogTable {
public:
    TAccessIndexListTable(TBapiListItem* owner, TDAORecordset* recordset,
                          const std::string& tableName, TAccessTable* cursor,
                          TDAODatabase* daoDatabase, TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return IndexDesc::Size; }
    // The next descriptor; false at the end of the list.
    bool nextIndex(IndexDesc& descriptor);

protected:
    bool buildRecord(std::uint16_t index, Byte* record) override;

private:
    IndexDesc describe(std::uint16_t index);

    std::unique_ptr<TDAOIndexes> indexes_;
    TAccessTable* cursor_;
};

} // namespace accessdb
