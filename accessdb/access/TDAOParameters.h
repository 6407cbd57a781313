#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOCollection.h"
#include "accessdb/access/TDAOParameter.h"

namespace accessdb {

class TDAOParameters : public DaoItems<mdbengine::Parameter, TDAOParameter, TDAOCollection> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
