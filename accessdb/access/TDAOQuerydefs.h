#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOQuerydef.h"

namespace accessdb {

class TDAOQuerydefs : public DaoItems<platform::dao::QueryDef, TDAOQuerydef> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
