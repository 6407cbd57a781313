#include "accessdb/access/TAccessStoredProcTable.h"

#include "accessdb/access/TDAODatabase.h"
#include "accessdb/engine/EngineText.h"

namespace accessdb {

TAccessStoredProcTable::TAccessStoredProcTable(TBapiListItem* database, TDAODatabase* daoDatabase,
                                               TTorvaneCollection* collection)
    : TAccessCatalogTable(database, collection, "PROCEDURES") {
    if (daoDatabase) {
        queryDefs_ = daoDatabase->queryDefs();
        setCount(queryDefs_->count());
    }
}

bool TAccessStoredProcTable::buildRecord(std::uint16_t index, Byte* record) {
    std::string name;
    queryDefs_->item(static_cast<std::int16_t>(index))->getName(name);
    putText(record, 0, 65, leftChars(name, 64));
    return true;
}

} // namespace accessdb
