#pragma once

#include "accessdb/engine/TSortedCollection.h"

namespace accessdb {

class TMemTable;

// An in-memory table's records in bookmark order; a bookmark comparison that fails counts
// as "greater".
class TCacheCollection : public TSortedCollection {
public:
    explicit TCacheCollection(TMemTable& table) : table_(table) {}

    const void* keyOf(TBapiListItem* item) const override;
    int compare(const void* key1, const void* key2) const override;

private:
    TMemTable& table_;
};

} // namespace accessdb
