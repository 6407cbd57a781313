#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOQuerydef.h"

namespace accessdb {

class TDAOQuerydefs : public DaoItems<mdbengine::QueryDef, TDAOQuerydef> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
