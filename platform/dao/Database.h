#pragma once

// An open database: its tables and stored queries, and recordsets on its tables.

#include "platform/dao/Collection.h"
#include "platform/dao/Errors.h"

#include <memory>
#include <string>

namespace platform::dao {

class DatabaseFile;
class QueryDef;
class Recordset;
class TableDef;

class Database {
public:
    Database(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors);

    const std::string& name() const { return name_; }
    // Tables in name order without regard to case, system and linked ones included.
    Status tableDefs(std::shared_ptr<Collection<TableDef>>& tables) const;
    Status queryDefs(std::shared_ptr<Collection<QueryDef>>& queries) const;

    // A table by its name, found without regard to case. Options: -1 for none, else
    // Recordset::denyWrite, denyRead and readOnly combined. Linked tables, stored queries
    // and SQL text answer 3251, unknown names 3078.
    Status openRecordset(const std::string& source, int options,
                         std::shared_ptr<Recordset>& recordset) const;
    // SQL is not run here: 3251.
    Status execute(const std::string& query) const;
    Status close();

    std::shared_ptr<DatabaseFile> file() const { return file_; }

private:
    Status checkOpen() const;

    std::shared_ptr<DatabaseFile> file_;
    std::shared_ptr<Errors> errors_;
    std::string name_;
};

} // namespace platform::dao
