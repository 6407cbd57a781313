#include "mdbengine/tables/Relationships.h"

#include "mdbengine/pages/PageStore.h"
#include "mdbengine/tables/Catalog.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableRows.h"

#include <algorithm>
#include <map>
#include <optional>

namespace mdbengine::file {

namespace {

std::string qualified(const std::string& table, const std::vector<std::string>& columns) {
    std::string text;
    for (const std::string& column : columns)
        text += (text.empty() ? "" : ", ") + table + "." + column;
    return text;
}

std::optional<std::uint32_t> relationshipsTablePage(const Catalog& catalog) {
    for (const CatalogEntry& entry : catalog.tables())
        if (entry.kind == CatalogEntry::LocalTable && sameName(entry.name, "MSysRelationships"))
            return entry.tablePage();
    return std::nullopt;
}

// One row of MSysRelationships: the values of its columns by name.
class RelationshipRow {
public:
    RelationshipRow(const TableDefinition& table, const RowView& row, PageStore& pages)
        : table_(table), row_(row), pages_(pages) {}

    Variant value(const std::string& name) const {
        for (const Column& column : table_.columns)
            if (sameName(column.name, name))
                return readColumnValue(column, row_, pages_);
        return Variant::null();
    }
    std::string text(const std::string& name) const {
        Variant found = value(name);
        return found.isNull() ? std::string() : found.stringValue();
    }
    std::int64_t number(const std::string& name) const {
        Variant found = value(name);
        return found.isNull() ? 0 : found.integerValue();
    }

private:
    const TableDefinition& table_;
    const RowView& row_;
    PageStore& pages_;
};

} // namespace

std::string Relationship::describeColumns() const {
    return qualified(table, columns);
}

std::string Relationship::describeReferencedColumns() const {
    return qualified(referencedTable, referencedColumns);
}

std::vector<Relationship> readRelationships(PageStore& pages, const Catalog& catalog) {
    std::optional<std::uint32_t> page = relationshipsTablePage(catalog);
    if (!page)
        return {};
    TableDefinition table = TableDefinition::read(pages, *page);
    // Pairs by relationship, in their place within it.
    std::vector<Relationship> relationships;
    std::vector<std::map<std::int64_t, std::pair<std::string, std::string>>> pairs;
    RowFinder finder(pages, table.page, RowFinder::Reading::Walk);
    for (std::uint32_t rowId : liveRows(pages, table)) {
        StoredRow stored = finder.find(rowId);
        RowView view = crackRow(stored.bytes, pages.format(), table.varColumnCount > 0);
        RelationshipRow row(table, view, pages);
        std::string name = row.text("szRelationship");
        auto found = std::find_if(relationships.begin(), relationships.end(),
                                  [&](const Relationship& r) { return sameName(r.name, name); });
        if (found == relationships.end()) {
            Relationship relationship;
            relationship.name = name;
            relationship.table = row.text("szObject");
            relationship.referencedTable = row.text("szReferencedObject");
            relationship.flags = static_cast<std::uint32_t>(row.number("grbit"));
            relationships.push_back(std::move(relationship));
            pairs.emplace_back();
            found = relationships.end() - 1;
        }
        pairs[static_cast<std::size_t>(found - relationships.begin())][row.number("icolumn")] = {
            row.text("szColumn"), row.text("szReferencedColumn")};
    }
    for (std::size_t i = 0; i < relationships.size(); ++i)
        for (const auto& [place, pair] : pairs[i]) {
            relationships[i].columns.push_back(pair.first);
            relationships[i].referencedColumns.push_back(pair.second);
        }
    return relationships;
}

} // namespace mdbengine::file
