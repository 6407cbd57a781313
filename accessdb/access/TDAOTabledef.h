#pragma once

#include "accessdb/access/DaoInterface.h"
#include "mdbengine/dao/TableDef.h"

namespace accessdb {

// A table as the catalogue lists it.
class TDAOTabledef : public DaoInterface<mdbengine::TableDef> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
};

} // namespace accessdb
