#pragma once

// What an engine shares with the database files it opened: the transaction level and the
// files themselves, so that a commit, a rollback or an idle moment reaches all of them.

#include <memory>
#include <vector>

namespace mdbengine {

class DatabaseFile;

class Workspace {
public:
    int transactionLevel() const { return level_; }
    void setTransactionLevel(int level) { level_ = level; }

    void add(const std::shared_ptr<DatabaseFile>& file) { files_.push_back(file); }
    // The files still open.
    std::vector<std::shared_ptr<DatabaseFile>> files() {
        std::vector<std::shared_ptr<DatabaseFile>> open;
        std::erase_if(files_, [](const auto& file) { return file.expired(); });
        for (const auto& file : files_)
            open.push_back(file.lock());
        return open;
    }

private:
    int level_ = 0;
    std::vector<std::weak_ptr<DatabaseFile>> files_;
};

} // namespace mdbengine
