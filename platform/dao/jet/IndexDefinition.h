#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::dao::jet {

struct IndexColumn {
    std::uint16_t columnNumber = 0; // the column's number in rows
    bool descending = false;
};

// A named index as users see it. Several may share one index structure on disk (a
// relationship's index over columns that another index already covers).
struct IndexDefinition {
    std::string name;
    std::vector<IndexColumn> columns;
    bool primary = false;
    bool foreign = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool required = false;
};

} // namespace platform::dao::jet
