#include "accessdb/access/TAccessTblListTable.h"

#include "accessdb/access/TDAODatabase.h"
#include "accessdb/engine/EngineText.h"

namespace accessdb {

TAccessTblListTable::TAccessTblListTable(TBapiListItem* database, const std::string&,
                                         bool systemTables, bool extended,
                                         TDAODatabase* daoDatabase, TTorvaneCollection* collection)
    : TAccessCatalogTable(database, collection, "TABLES"), systemTables_(systemTables),
      extended_(extended) {
    if (daoDatabase) {
        tableDefs_ = daoDatabase->tableDefs();
        setCount(tableDefs_->count());
    }
}

bool TAccessTblListTable::buildRecord(std::uint16_t index, Byte* record) {
    std::string name;
    tableDefs_->item(static_cast<std::int16_t>(index))->getName(name);
    if (!systemTables_ && containsText(upperAscii(name), "MSYS"))
        return false;
    putText(record, 0, 261, leftChars(name, 260));
    return true;
}

} // namespace accessdb
