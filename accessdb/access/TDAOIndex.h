#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAOIndexfields.h"
#include "mdbengine/dao/Index.h"

#include <memory>

namespace accessdb {

// An index of a table.
class TDAOIndex : public DaoInterface<mdbengine::Index> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    bool unique();
    bool primary();
    std::unique_ptr<TDAOIndexfields> fields();
};

} // namespace accessdb
