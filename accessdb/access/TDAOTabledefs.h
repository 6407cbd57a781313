#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOTabledef.h"

namespace accessdb {

class TDAOTabledefs : public DaoItems<mdbengine::TableDef, TDAOTabledef> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
