#pragma once

// An open database: its tables and stored queries, recordsets on its tables and queries,
// and the SQL statements it runs.

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Errors.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mdbengine {

class DatabaseFile;
class QueryDef;
class Recordset;
class TableDef;
struct TableHome;
namespace file {
struct CatalogEntry;
}

class Database {
public:
    Database(std::shared_ptr<DatabaseFile> file, std::shared_ptr<Errors> errors);

    const std::string& name() const { return name_; }
    // Tables in name order without regard to case, system and linked ones included.
    Status tableDefs(std::shared_ptr<Collection<TableDef>>& tables) const;
    Status queryDefs(std::shared_ptr<Collection<QueryDef>>& queries) const;

    // A table, a stored select query or a SELECT statement, names found without regard to
    // case. Options: -1 for none, else Recordset::denyWrite, denyRead and readOnly
    // combined. Unknown names answer 3078.
    Status openRecordset(const std::string& source, int options,
                         std::shared_ptr<Recordset>& recordset) const;
    // A table by its name; a linked table is opened in the file it lives in (3024 naming
    // the path looked for when that is not found, 3103 naming the chain of links when they
    // go round in a circle).
    Status openTable(const std::string& name, bool readOnly,
                     std::shared_ptr<Recordset>& recordset) const;
    // The file and the table name there that hold the rows of the table `name`, every link
    // followed.
    Status tableHome(const std::string& name, std::string& path, std::string& table) const;
    // An INSERT, UPDATE or DELETE statement, or a stored query of those kinds by its name.
    Status execute(const std::string& query);
    // The records the last execute changed.
    std::int32_t recordsAffected() const { return recordsAffected_; }
    Status close();

    std::shared_ptr<DatabaseFile> file() const { return file_; }

private:
    Status checkOpen() const;
    bool readOnlyOptions(int options) const;
    std::shared_ptr<QueryDef> queryDef(const file::CatalogEntry& entry) const;
    // The stored query so named; none when there is none.
    Status storedQuery(const std::string& name, std::shared_ptr<QueryDef>& query) const;
    Status openLocalTable(const TableHome& home, bool readOnly,
                          std::shared_ptr<Recordset>& recordset) const;

    std::shared_ptr<DatabaseFile> file_;
    std::shared_ptr<Errors> errors_;
    std::string name_;
    std::int32_t recordsAffected_ = 0;
};

} // namespace mdbengine
