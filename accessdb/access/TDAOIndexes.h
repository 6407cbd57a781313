#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOIndex.h"

namespace accessdb {

class TDAOIndexes : public DaoItems<mdbengine::Index, TDAOIndex> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
