#pragma once

#include "accessdb/access/DaoItems.h"
#include "accessdb/access/TDAOIndexField.h"

namespace accessdb {

class TDAOIndexfields : public DaoItems<mdbengine::IndexField, TDAOIndexField> {
public:
    using DaoItems::DaoItems;
};

} // namespace accessdb
