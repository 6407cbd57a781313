#pragma once

#include "accessdb/engine/TBaseTable.h"

namespace accessdb {

// Base of every Access cursor: the table cursor and the catalogue lists.
class TAccessBaseTable : public TBaseTable {
public:
    using TBaseTable::TBaseTable;
};

} // namespace accessdb
