#pragma once

#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/TBapiListItem.h"

#include <vector>

namespace accessdb {

class TMemTable;

// One record of an in-memory table: its properties, a copy of its data and its bookmark.
class TMemTableRecord : public TBapiListItem {
public:
    // Lists itself in the table's records after taking its copies; without a bookmark its
    // 32-bit bookmark is the number of records already listed plus 1.
    TMemTableRecord(TMemTable* table, const Byte* data, std::size_t dataSize, const Byte* bookmark,
                    std::size_t bookmarkSize, bool listed = true);

    RecordProps props;
    std::vector<Byte> data;
    std::vector<Byte> bookmark;
    bool applied = false;
};

} // namespace accessdb
