#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOField.h"

namespace accessdb {

class TDAOFields : public DaoItems<mdbengine::Field, TDAOField> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
