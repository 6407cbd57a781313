#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAOQuerydefs.h"
#include "accessdb/access/TDAORecordset.h"
#include "accessdb/access/TDAOTabledefs.h"
#include "mdbengine/dao/Database.h"

#include <memory>
#include <string>

namespace accessdb {

// An open database.
class TDAODatabase : public DaoInterface<mdbengine::Database> {
public:
    using DaoInterface::DaoInterface;
    void getName(std::string& name) override;
    std::unique_ptr<TDAOTabledefs> tableDefs();
    std::unique_ptr<TDAOQuerydefs> queryDefs();
    // Only when an object is held.
    void close();
    void execute(const std::string& query);
    // The type is left out; options as given (-1 when left out).
    std::unique_ptr<TDAORecordset> openRecordset(const std::string& source, int type,
                                                 int options) override;
};

} // namespace accessdb
