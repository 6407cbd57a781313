#pragma once

#include "accessdb/access/TAccessCatalogTable.h"
#include "accessdb/access/TDAOFields.h"
#include "accessdb/access/TDAORecordset.h"

#include <memory>

namespace accessdb {

class TAccessTable;
class TDAODatabase;

// The fields of a table as engine field descriptors, laid out one after another in the
// record buffer. Each descriptor also carries the field's DAO type and length in its local
// type and size, which is how a cursor builds its field cache. Without a recordset the list
// opens one of its own on the table.
class TAccessFieldListTable : public TAccessCatalogTable {
public:
    TAccessFieldListTable(TBapiListItem* owner, TDAORecordset* recordset,
                          const std::string& tableName, TAccessTable* cursor,
                          TDAODatabase* daoDatabase, TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return FieldDesc::Size; }

protected:
    bool buildRecord(std::uint16_t index, Byte* record) override;

private:
    std::unique_ptr<TDAOFields> ownFields_;
    TDAOFields* fields_ = nullptr;
    std::uint16_t offset_ = 0; // of the next field
};

} // namespace accessdb
