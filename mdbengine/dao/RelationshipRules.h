#pragma once

// The relationships Access enforces, kept by every change of a row: a row that refers must
// find the row it refers to (3201), a row referred to is neither deleted nor changed in the
// columns referred to while rows still refer to it (3200), unless the relationship cascades
// the deletion or change to them. The rows a change carries with it are found before
// anything is written, and written with it. Relationships with a table that is not a local
// table of the file (a linked one) are kept where that table lives.

#include "mdbengine/tables/KeyOrder.h"
#include "mdbengine/tables/Relationships.h"
#include "mdbengine/values/Status.h"
#include "mdbengine/values/Variant.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace mdbengine {

class DatabaseFile;
namespace file {
struct TableDefinition;
}

// A change a relationship refuses; nothing was changed.
struct RelationshipViolation {
    ErrorNumber number;
    std::string table; // the table the description names
    std::string detail;
};

class RelationshipRules {
public:
    // Reads the enforced relationships of the file. Throws file::FormatError.
    explicit RelationshipRules(DatabaseFile& file);

    // A row's values by column index (memo and long binary columns Null: no relationship
    // holds them).
    using Values = std::vector<Variant>;
    // A row another change carries with it: deleted, or given new values in some columns.
    struct Consequence {
        std::shared_ptr<const file::TableDefinition> table;
        std::uint32_t rowId = 0;
        std::vector<std::pair<std::size_t, Variant>> changes;
        bool deleted = false;
    };

    // Whether an enforced relationship names the table.
    bool concerns(const file::TableDefinition& table);

    // What a row of `table` going from `before` (none for a new row) to `after` (none for
    // a deletion) carries with it; throws RelationshipViolation when a relationship
    // refuses it.
    std::vector<Consequence> consequences(const file::TableDefinition& table,
                                          std::optional<std::uint32_t> rowId, const Values* before,
                                          const Values* after);
    // Writes them (into the page cache).
    void apply(const std::vector<Consequence>& consequences);

    // The row's values as the rules read them.
    Values valuesOf(const file::TableDefinition& table, std::uint32_t rowId);

private:
    struct Side {
        const file::Relationship* relationship;
        std::shared_ptr<const file::TableDefinition> table;
        std::vector<std::size_t> columns;
        std::shared_ptr<const file::TableDefinition> other;
        std::vector<std::size_t> otherColumns;
    };
    // The enforced relationships in which `table` refers (referring) or is referred to.
    std::vector<Side> sides(const file::TableDefinition& table, bool referring);
    std::shared_ptr<const file::TableDefinition> localTable(const std::string& name);
    std::vector<std::uint32_t> rowsHolding(const file::TableDefinition& table,
                                           const std::vector<std::size_t>& columns,
                                           const std::vector<Variant>& key);
    bool sameKey(const std::vector<Variant>& a, const std::vector<Variant>& b) const;
    void checkReferred(const Side& side, const Values& after);
    void follow(const file::TableDefinition& table, std::uint32_t rowId, const Values* before,
                const Values* after, std::vector<Consequence>& out);

    DatabaseFile& file_;
    file::TextOrder order_;
    std::vector<file::Relationship> relationships_;
    // Rows already carried along, so that relationships that lead back end.
    std::set<std::pair<std::uint32_t, std::uint32_t>> carried_;
};

} // namespace mdbengine
