#include "mdbengine/dao/LinkChain.h"

#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/dao/LinkedDatabase.h"
#include "mdbengine/tables/Catalog.h"
#include "mdbengine/tables/Names.h"

#include <sys/stat.h>
#include <vector>

namespace mdbengine {

namespace {

// One table on the way: the file it is listed in (the same file by whatever path it was
// reached) and its name there.
struct Step {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    std::string table;

    bool sameTable(const Step& other) const {
        return device == other.device && inode == other.inode && file::sameName(table, other.table);
    }
};

Step stepOf(const std::string& path, const std::string& table) {
    struct stat info {};
    Step step{path, 0, 0, table};
    if (::stat(path.c_str(), &info) == 0) {
        step.device = info.st_dev;
        step.inode = info.st_ino;
    }
    return step;
}

bool sameFile(const Step& a, const Step& b) {
    return a.device == b.device && a.inode == b.inode;
}

const file::CatalogEntry* findEntry(const DatabaseFile& file, const std::string& name) {
    for (const file::CatalogEntry& entry : file.catalog().tables())
        if (file::sameName(entry.name, name))
            return &entry;
    return nullptr;
}

// "'Self' in list.mdb -> 'Self' in list.mdb"; a chain too long to read shows its ends.
std::string chainText(const std::vector<Step>& chain) {
    constexpr std::size_t shownAtEachEnd = 4;
    std::string text;
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (chain.size() > 2 * shownAtEachEnd + 1 && i == shownAtEachEnd) {
            text += " -> ... (" + std::to_string(chain.size() - 2 * shownAtEachEnd) + " more)";
            i = chain.size() - shownAtEachEnd - 1;
            continue;
        }
        text += (i == 0 ? "'" : " -> '") + chain[i].table + "' in " + chain[i].path;
    }
    return text;
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& paths) {
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i)
        text += (i == 0 ? "" : (i + 1 == paths.size() ? " and " : ", ")) + paths[i];
    return text;
}

// The path of the file the link of `entry` (listed in `from`) leads to.
Status linkedPath(const DatabaseFile& from, const file::CatalogEntry& entry, Errors& errors,
                  std::string& path) {
    if (entry.kind == file::CatalogEntry::LinkedOdbcTable)
        return errors.fail(ErrorNumber::NotSupported, {},
                           "'" + entry.name +
                               "' is linked to a database server, which this engine does "
                               "not reach.");
    LinkedDatabaseSearch search = findLinkedDatabase(from.path(), entry.linkedDatabase);
    if (!search.found)
        return errors.fail(ErrorNumber::FileNotFound, search.lookedAt.back(),
                           "'" + entry.name + "' is a linked table of '" + entry.linkedDatabase +
                               "'; it was looked for as " + listed(search.lookedAt) + ".");
    path = *search.found;
    return statusOk;
}

} // namespace

Status findTableHome(const std::shared_ptr<DatabaseFile>& file, const std::string& name,
                     Errors& errors, TableHome& home) {
    home = {file, findEntry(*file, name)};
    if (!home.entry)
        return errors.fail(ErrorNumber::TableNotFound, name);
    std::vector<Step> chain{stepOf(file->path(), home.entry->name)};
    while (home.entry->isLinked()) {
        if (chain.size() > maximumLinks)
            return errors.fail(ErrorNumber::CircularLink, chain.front().table,
                               "It is linked through more than " + std::to_string(maximumLinks) +
                                   " tables: " + chainText(chain) + ".");
        std::string path;
        if (Status status = linkedPath(*home.file, *home.entry, errors, path); failed(status))
            return status;
        Step step = stepOf(path, home.entry->foreignName);
        bool circle = false;
        for (const Step& earlier : chain)
            circle = circle || earlier.sameTable(step);
        chain.push_back(step);
        if (circle)
            return errors.fail(ErrorNumber::CircularLink, chain.front().table,
                               "Its links lead round in a circle: " + chainText(chain) + ".");
        // A link back into a file already open on the way stays with that open file, so that
        // a change through it is seen there.
        std::shared_ptr<DatabaseFile> next;
        if (sameFile(step, chain[chain.size() - 2]))
            next = home.file;
        else if (sameFile(step, chain.front()))
            next = file;
        else if (Status status = home.file->openLinked(
                     path, errors, next, DBEngine::passwordFromConnect(home.entry->connect));
                 failed(status))
            return status;
        home = {next, findEntry(*next, step.table)};
        if (!home.entry)
            return errors.fail(ErrorNumber::TableNotFound, step.table);
    }
    return statusOk;
}

} // namespace mdbengine
