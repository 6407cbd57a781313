#pragma once

// The database's list of objects: the rows of its system table MSysObjects, whose
// definition is always on page 2. Tables, linked tables and stored queries are kept.

#include <cstdint>
#include <string>
#include <vector>

namespace mdbengine::file {

class PageStore;

struct CatalogEntry {
    enum Kind : std::int16_t {
        LocalTable = 1,
        LinkedOdbcTable = 4,
        Query = 5,
        LinkedTable = 6,
    };

    std::int32_t id = 0;
    std::string name;
    std::int16_t kind = 0;
    std::uint32_t flags = 0;
    std::string linkedDatabase; // linked tables: the file (or connection) they live in
    std::string foreignName;    // linked tables: their name there
    std::string connect;        // linked tables: the connect string (";PWD=..." for a password)

    bool isLinked() const { return kind == LinkedOdbcTable || kind == LinkedTable; }
    bool isSystem() const { return (flags & 0x80000002u) != 0; }
    // A local table's definition page.
    std::uint32_t tablePage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFFu; }
};

struct QueryParameter {
    std::string name;
    std::int16_t type = 0; // the object model's type code
};

// One row of a stored query's definition in MSysQueries: what it is says the attribute
// (the query's kind, a parameter, a table, a column, the condition, the order, ...).
struct QueryRow {
    std::int16_t attribute = 0;
    std::string name1;
    std::string name2;
    std::string expression;
    std::int32_t flag = 0;
};

class Catalog {
public:
    // Throws FormatError when MSysObjects cannot be read.
    static Catalog read(PageStore& pages);

    // Tables (local and linked) and queries, each in name order without regard to case.
    const std::vector<CatalogEntry>& tables() const { return tables_; }
    const std::vector<CatalogEntry>& queries() const { return queries_; }

    // A stored query's parameters, from MSysQueries.
    std::vector<QueryParameter> parameters(PageStore& pages, const CatalogEntry& query) const;
    // The names of a table's columns whose Required property is set. Throws FormatError when
    // MSysObjects cannot be read.
    std::vector<std::string> requiredColumns(PageStore& pages, const CatalogEntry& table) const;
    // A stored query's rows of MSysQueries, in their order there.
    std::vector<QueryRow> queryRows(PageStore& pages, const CatalogEntry& query) const;

private:
    std::vector<CatalogEntry> tables_;
    std::vector<CatalogEntry> queries_;
    std::uint32_t queriesTablePage_ = 0;
};

} // namespace mdbengine::file
