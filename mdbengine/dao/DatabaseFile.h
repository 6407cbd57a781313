#pragma once

// One open database file behind the objects: its pages, catalogue and table definitions,
// the lock that keeps other openers out or lets them share, the modes it was opened in,
// and the changes that wait in the page cache until the file is written anew: outside a
// transaction when the engine idles or the file is closed, else at the outermost commit.

#include "mdbengine/dao/Errors.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/tables/Catalog.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableWriter.h"
#include "platform/fs/RegularFile.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mdbengine {

class Workspace;

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
                       std::shared_ptr<DatabaseFile>& file,
                       std::shared_ptr<Workspace> workspace = nullptr);
    // Changes not written yet are dropped: only a flush writes, and tells how it went.
    ~DatabaseFile();

    const std::string& path() const { return path_; }
    bool openedReadOnly() const { return options_.readOnly; }
    file::PageStore& pages() { return *pages_; }
    const file::Catalog& catalog() const { return catalog_; }

    // The definition of the table whose chain starts at `page`, with the columns its
    // properties make required; read once. Throws file::FormatError.
    std::shared_ptr<const file::TableDefinition> tableDefinition(std::uint32_t page);

    // False when the file has no write permission bit at all (a file made read-only, even
    // for the superuser) or the process may not write it or its folder.
    bool fileWritable() const;
    // The lock file Access keeps beside a database it has open.
    std::string lockFilePath() const;
    bool lockFilePresent() const;

    // Whether the file may be changed: 3027 for read-only opens and files and for encoded
    // databases, 3045 while Access has it open (its lock file is present). Checked on the
    // file when the first change is made and again when the changes are written.
    Status checkChangesAllowed(Errors& errors) const;
    file::TableWriter& writer(const file::TableDefinition& table);
    // Writes into the page cache the index pages the table writers keep decoded, so that the
    // pages hold every change (before a transaction's snapshot, before the file is written,
    // before the pages are read by anyone else).
    void settleIndexes();

    // Transactions: the changes at the begin are kept, to go back to.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    // Writes the changes, unless a transaction is open: the file is written anew beside the
    // original and renamed over it, so a failure (3043) leaves it as it was. The file must
    // still be the one read, up to the moment the new one takes its name (3197 when another
    // writer replaced it); a refused write drops the changes it was to write.
    Status flush(Errors& errors);

    // The database file a linked table of this one lives in, at `path` (found by the
    // caller), opened once, shared, read-only when this file is, in its transactions.
    Status openLinked(const std::string& path, Errors& errors, std::shared_ptr<DatabaseFile>& file,
                      const std::string& password);

    // Counts rollbacks: recordsets read their rows again when it moves.
    std::uint64_t rowsVersion() const { return rowsVersion_; }

private:
    DatabaseFile(std::string path, OpenOptions options, std::unique_ptr<file::PageStore> pages,
                 bool encoded, std::shared_ptr<Workspace> workspace);
    Status checkFileWritable(Errors& errors) const;
    // What the file on disk was when it was read: written over by someone else since, it
    // must not be replaced by our copy.
    platform::FileStamp stamp_;
    Status writeFile(Errors& errors);
    Status readWrittenFile(Errors& errors);
    // Back to the file as it is on disk.
    void dropChanges();

    std::string path_;
    OpenOptions options_;
    std::unique_ptr<file::PageStore> pages_;
    bool encoded_;
    std::shared_ptr<Workspace> workspace_;
    file::Catalog catalog_;
    std::map<std::uint32_t, std::shared_ptr<const file::TableDefinition>> tables_;
    std::map<std::uint32_t, std::unique_ptr<file::TableWriter>> writers_;
    std::vector<file::PageStore::Snapshot> snapshots_;
    // Weak, so that two files linked to each other do not keep each other open.
    std::map<std::string, std::weak_ptr<DatabaseFile>> linked_;
    std::uint64_t rowsVersion_ = 0;
};

} // namespace mdbengine
