#include "mdbengine/dao/DBEngine.h"

#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/Workspace.h"
#include "mdbengine/tables/Names.h"

namespace mdbengine {

DBEngine::DBEngine()
    : errors_(std::make_shared<Errors>()), workspace_(std::make_shared<Workspace>()) {}

std::string DBEngine::passwordFromConnect(const std::string& connect) {
    std::string password;
    std::size_t start = 0;
    while (start <= connect.size()) {
        std::size_t end = connect.find(';', start);
        if (end == std::string::npos)
            end = connect.size();
        std::string part = connect.substr(start, end - start);
        if (part.size() >= 4 && file::sameName(part.substr(0, 4), "pwd="))
            password = part.substr(4);
        start = end + 1;
    }
    return password;
}

Status DBEngine::openDatabase(const std::string& path, bool exclusive, bool readOnly,
                              const std::string& connect, std::shared_ptr<Database>& database) {
    database.reset();
    OpenOptions options{exclusive, readOnly, passwordFromConnect(connect)};
    std::shared_ptr<DatabaseFile> file;
    if (Status status = DatabaseFile::open(path, options, *errors_, file, workspace_);
        failed(status))
        return status;
    database = std::make_shared<Database>(std::move(file), errors_);
    return statusOk;
}

Status DBEngine::idle(int) {
    Status first = statusOk;
    for (const auto& file : workspace_->files())
        if (Status status = file->flush(*errors_); failed(status) && !failed(first))
            first = status;
    return first;
}

Status DBEngine::beginTrans() {
    workspace_->setTransactionLevel(workspace_->transactionLevel() + 1);
    for (const auto& file : workspace_->files())
        file->beginTransaction();
    return statusOk;
}

Status DBEngine::commitTrans() {
    if (Status status = endTransaction(&DatabaseFile::commitTransaction); failed(status))
        return status;
    return idle(0);
}

Status DBEngine::rollback() {
    return endTransaction(&DatabaseFile::rollbackTransaction);
}

Status DBEngine::endTransaction(void (DatabaseFile::*end)()) {
    if (workspace_->transactionLevel() == 0)
        return errors_->fail(ErrorNumber::NoTransaction);
    workspace_->setTransactionLevel(workspace_->transactionLevel() - 1);
    for (const auto& file : workspace_->files())
        (file.get()->*end)();
    return statusOk;
}

} // namespace mdbengine
