#include "accessdb/access/TAccessCatalogTable.h"

#include "accessdb/engine/ETorvaneEngineError.h"

#include <algorithm>
#include <cstring>

namespace accessdb {

TAccessCatalogTable::TAccessCatalogTable(TBapiListItem* owner, TTorvaneCollection* collection,
                                         const std::string& name)
    : TAccessBaseTable(owner, collection, name, "", 1, 0) {}

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
