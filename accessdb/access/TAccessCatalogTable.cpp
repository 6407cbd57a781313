#include "accessdb/access/TAccessCatalogTable.h"

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessTable.h"
#include "accessdb/access/TDAODatabase.h"
#include "accessdb/engine/ETorvaneEngineError.h"

#include <algorithm>
#include <cstring>

namespace accessdb {

TAccessCatalogTable::TAccessCatalogTable(TBapiListItem* owner, TTorvaneCollection* collection,
                                         const std::string& name)
    : TAccessBaseTable(owner, collection, name, "", 1, 0) {}

// The lists of the recordset go with the derived class, before the recordset is closed.
TAccessCatalogTable::~TAccessCatalogTable() {
    if (ownRecordset_)
        ownRecordset_->close();
}

TDAORecordset* TAccessCatalogTable::tableRecordset(TDAORecordset* given, TDAODatabase* daoDatabase,
                                                   const std::string& tableName) {
    if (given)
        return given;
    checkHandle(daoDatabase);
    ownRecordset_ = daoDatabase->openRecordset(tableName, -1, TAccessTable::optionsFor(1, 0));
    checkAccess(daoDatabase->lastResult());
    return ownRecordset_.get();
}

void TAccessCatalogTable::setToBegin() {
    TAccessBaseTable::setToBegin();
    position_ = 0;
}

void TAccessCatalogTable::getNextRecord(LockType, Byte* buffer, RecordProps*) {
    for (;;) {
        if (position_ >= count_)
            raiseEOF();
        record_.assign(recordSize(), 0);
        bool kept = buildRecord(position_, record_.data());
        ++position_;
        if (!kept)
            continue;
        if (buffer)
            std::memcpy(buffer, record_.data(), record_.size());
        setOnRecord();
        return;
    }
}

} // namespace accessdb
