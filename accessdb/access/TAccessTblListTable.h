#pragma once

#include "accessdb/access/TAccessCatalogTable.h"
#include "accessdb/access/TDAOTabledefs.h"

#include <memory>

namespace accessdb {

class TDAODatabase;

// The tables of a database, in the order DAO lists them: table descriptors whose name comes
// first, all else zero. Names containing "msys" (any case) are the engine's own tables and
// are left out unless system tables are asked for.
class TAccessTblListTable : public TAccessCatalogTable {
public:
    static constexpr std::uint16_t RecordSize = 574;
    static constexpr std::uint16_t ExtendedRecordSize = 626;

    TAccessTblListTable(TBapiListItem* database, const std::string& wildcard, bool systemTables,
                        bool extended, TDAODatabase* daoDatabase, TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return extended_ ? ExtendedRecordSize : RecordSize; }

protected:
    bool buildRecord(std::uint16_t index, Byte* record) override;

private:
    std::unique_ptr<TDAOTabledefs> tableDefs_;
    bool systemTables_;
    bool extended_;
};

} // namespace accessdb
