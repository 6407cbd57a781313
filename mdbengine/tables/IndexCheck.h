#pragma once

// An independent check of a table's indexes against its rows, for tests and for looking at
// a file: every page of each index tree in its place (leaf pages at one depth, each
// intermediate entry the last entry of its child, the pages of each level linked in tree
// order, the index's usage map marking exactly its pages, each page stored as the page
// writer stores it), the entries in key order over the whole leaf chain, each pointing to a
// live row whose values give its key, one entry per row (none for a row an index that
// ignores Nulls leaves out), and no key twice in a unique index.

#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine::file {

class PageStore;
struct TableDefinition;

struct IndexReport {
    std::vector<std::string> problems; // one line each; none when the indexes hold
    std::size_t entries = 0;
    // Entries whose keys were computed again from their rows and compared; the others hold
    // values whose keys are not known here.
    std::size_t keysCompared = 0;
    std::size_t deepest = 0; // levels of the deepest tree
};

IndexReport checkIndexes(PageStore& pages, const TableDefinition& table);

} // namespace mdbengine::file
