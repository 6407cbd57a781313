#pragma once

// The engine: opens databases, keeps the Errors of the last failed call and the
// transactions. Changes wait in memory: outside a transaction a database file is written
// when the engine idles or the database is closed; inside one, at the outermost commit.
// Transactions nest; a rollback goes back to the begin.

#include "mdbengine/dao/Errors.h"

#include <memory>
#include <string>

namespace mdbengine {

class Database;
class DatabaseFile;
class Workspace;

class DBEngine {
public:
    DBEngine();

    std::shared_ptr<Errors> errors() const { return errors_; }

    // `connect` is the connect string: ";pwd=" followed by the password gives one.
    Status openDatabase(const std::string& path, bool exclusive, bool readOnly,
                        const std::string& connect, std::shared_ptr<Database>& database);
    // Writes the changes of every file, outside a transaction.
    Status idle(int action);
    Status beginTrans();
    Status commitTrans();
    Status rollback();

    static std::string passwordFromConnect(const std::string& connect);

private:
    // Leaves the innermost transaction, ending it in every file by commit or rollback.
    Status endTransaction(void (DatabaseFile::*end)());

    std::shared_ptr<Errors> errors_;
    std::shared_ptr<Workspace> workspace_;
};

} // namespace mdbengine
