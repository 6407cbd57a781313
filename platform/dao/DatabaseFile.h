#pragma once

// One open database file behind the objects: its pages, catalogue and table definitions,
// the lock that keeps other openers out or lets them share, and the modes it was opened
// in. Databases and their recordsets share it.

#include "platform/dao/Errors.h"
#include "platform/dao/jet/Catalog.h"
#include "platform/dao/jet/PageStore.h"
#include "platform/dao/jet/TableDefinition.h"

#include <map>
#include <memory>
#include <string>

namespace platform::dao {

struct OpenOptions {
    bool exclusive = false;
    bool readOnly = false;
    std::string password; // from the connect string; ignored by files without one
};

class DatabaseFile {
public:
    // Checks the file before anything is read from it: it exists (3024; 3044 when its folder
    // does not), is a readable regular file of whole pages with a known signature and
    // version (3343), the password matches (3031) and no other handle holds it against the
    // wanted mode (3045).
    static Status open(const std::string& path, const OpenOptions& options, Errors& errors,
                       std::shared_ptr<DatabaseFile>& file);

    const std::string& path() const { return path_; }
    bool openedReadOnly() const { return options_.readOnly; }
    jet::PageStore& pages() { return *pages_; }
    const jet::Catalog& catalog() const { return catalog_; }

    // The definition of the table whose chain starts at `page`; read once. Throws
    // jet::FormatError.
    std::shared_ptr<const jet::TableDefinition> tableDefinition(std::uint32_t page);

    // False when the file has no write permission bit at all (a file made read-only, even
    // for the superuser) or the process may not write it.
    bool fileWritable() const;

    // The lock file Access keeps beside a database it has open.
    std::string lockFilePath() const;
    bool lockFilePresent() const;

private:
    DatabaseFile(std::string path, OpenOptions options, std::unique_ptr<jet::PageStore> pages);

    std::string path_;
    OpenOptions options_;
    std::unique_ptr<jet::PageStore> pages_;
    jet::Catalog catalog_;
    std::map<std::uint32_t, std::shared_ptr<const jet::TableDefinition>> tables_;
};

} // namespace platform::dao
