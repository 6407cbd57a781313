#pragma once

// The relationships between tables, as the rows of MSysRelationships keep them: one row a
// pair of columns, the pairs of one relationship numbered in their order.

#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine::file {

class Catalog;
class PageStore;

struct Relationship {
    static constexpr std::uint32_t notEnforced = 0x2;
    static constexpr std::uint32_t inherited = 0x4; // from a linked database: kept there
    static constexpr std::uint32_t cascadeUpdates = 0x100;
    static constexpr std::uint32_t cascadeDeletes = 0x1000;

    std::string name;
    std::string table;                          // the table whose rows refer
    std::vector<std::string> columns;           // ... by these columns
    std::string referencedTable;                // the table referred to
    std::vector<std::string> referencedColumns; // ... by these, pair by pair
    std::uint32_t flags = 0;

    bool enforced() const { return (flags & (notEnforced | inherited)) == 0; }
    bool cascadesUpdates() const { return (flags & cascadeUpdates) != 0; }
    bool cascadesDeletes() const { return (flags & cascadeDeletes) != 0; }
    // "Table1.a, Table1.b"
    std::string describeColumns() const;
    std::string describeReferencedColumns() const;
};

// Every relationship of the database, in the order of their first rows; none when it has no
// MSysRelationships. Throws FormatError when the table cannot be read.
std::vector<Relationship> readRelationships(PageStore& pages, const Catalog& catalog);

} // namespace mdbengine::file
