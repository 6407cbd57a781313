#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine::file {

struct IndexColumn {
    std::uint16_t columnNumber = 0; // the column's number in rows
    bool descending = false;
};

// An index structure on disk: its key columns, the root of its tree of index pages and the
// usage map of those pages. The rules come from its own flags and from the named indexes
// over it (a primary key makes it unique and required).
struct StoredIndex {
    std::vector<IndexColumn> columns;
    std::uint32_t rootPage = 0;
    std::uint32_t usageMap = 0; // row pointer (page << 8 | row)
    bool unique = false;
    bool ignoreNulls = false; // rows whose key columns are all Null have no entry
    bool required = false;    // no key column may be Null
};

// A named index as users see it. Several may share one index structure on disk (a
// relationship's index over columns that another index already covers).
struct IndexDefinition {
    std::string name;
    std::vector<IndexColumn> columns;
    std::size_t storedIndex = 0; // its structure among the table's stored indexes
    bool primary = false;
    bool foreign = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool required = false;
};

} // namespace mdbengine::file
