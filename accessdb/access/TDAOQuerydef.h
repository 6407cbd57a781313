#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAOParameters.h"
#include "mdbengine/dao/QueryDef.h"

#include <memory>

namespace accessdb {

// A stored query.
class TDAOQuerydef : public DaoInterface<mdbengine::QueryDef> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    std::unique_ptr<TDAOFields> getFields() override;
    std::unique_ptr<TDAOParameters> parameters();
    std::unique_ptr<TDAORecordset> openRecordset(const std::string& source, int type,
                                                 int options) override;
    // Runs an append, update or delete query; the records it changed.
    std::int32_t execute();
};

} // namespace accessdb
