#pragma once

#include "accessdb/access/TAccessCatalogTable.h"
#include "accessdb/access/TDAOQuerydefs.h"

#include <memory>

namespace accessdb {

class TDAODatabase;

// The stored queries of a database: descriptors of 73 bytes whose name comes first.
class TAccessStoredProcTable : public TAccessCatalogTable {
public:
    static constexpr std::uint16_t RecordSize = 73;

    TAccessStoredProcTable(TBapiListItem* database, TDAODatabase* daoDatabase,
                           TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return RecordSize; }

protected:
    bool buildRecord(std::uint16_t index, Byte* record) override;

private:
    std::unique_ptr<TDAOQuerydefs> queryDefs_;
};

} // namespace accessdb
