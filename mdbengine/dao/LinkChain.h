#pragma once

// Where the rows of a table are: in the file that lists it, or, for a linked table, in the
// table the link names, which may itself be a link to a third file, and so on. The links
// are followed one after the other, never by recursion, and every step is remembered: a
// link that comes back to a table already on the way (a table linked to itself, two files
// linked to each other) is refused with the chain it went round, and so is a chain longer
// than any a person makes.

#include "mdbengine/dao/Errors.h"

#include <memory>
#include <string>

namespace mdbengine {

class DatabaseFile;
namespace file {
struct CatalogEntry;
}

// The links followed at most; the table at the end of so many is refused.
inline constexpr std::size_t maximumLinks = 1024;

struct TableHome {
    std::shared_ptr<DatabaseFile> file;
    // The table's entry in that file's catalogue; valid while the file is held.
    const file::CatalogEntry* entry = nullptr;
};

// The home of the table `name` of `file`: 3078 when the file has no such table, 3024 when a
// linked file is not found, 3251 for a link to a database server, 3103 for links that go
// round in a circle or too far, naming the chain.
Status findTableHome(const std::shared_ptr<DatabaseFile>& file, const std::string& name,
                     Errors& errors, TableHome& home);

} // namespace mdbengine
