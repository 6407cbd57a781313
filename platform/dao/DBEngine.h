#pragma once

// The engine: opens databases, keeps the Errors of the last failed call and the
// transaction level.

#include "platform/dao/Errors.h"

#include <memory>
#include <string>

namespace platform::dao {

class Database;

class DBEngine {
public:
    DBEngine();

    std::shared_ptr<Errors> errors() const { return errors_; }

    // `connect` is the connect string: ";pwd=" followed by the password gives one.
    Status openDatabase(const std::string& path, bool exclusive, bool readOnly,
                        const std::string& connect, std::shared_ptr<Database>& database);
    Status idle(int action);
    Status beginTrans();
    Status commitTrans();
    Status rollback();

    static std::string passwordFromConnect(const std::string& connect);

private:
    std::shared_ptr<Errors> errors_;
    int transactionLevel_ = 0;
};

} // namespace platform::dao
