#include "mdbengine/tables/Catalog.h"

#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableProperties.h"
#include "mdbengine/tables/TableRows.h"

#include <algorithm>

namespace mdbengine::file {

namespace {

constexpr std::uint32_t catalogPage = 2;
constexpr std::int16_t containerKind = 3;
constexpr std::uint8_t parameterAttribute = 2;

const Column* findColumn(const TableDefinition& table, std::string_view name) {
    for (const Column& column : table.columns)
        if (sameName(column.name, name))
            return &column;
    return nullptr;
}

const Column& requireColumn(const TableDefinition& table, std::string_view name) {
    if (const Column* column = findColumn(table, name))
        return *column;
    throw FormatError("a system table lacks its column " + std::string(name));
}

// Reads the named columns of every live row of a table.
class SystemTableReader {
public:
    SystemTableReader(PageStore& pages, std::uint32_t tablePage)
        : pages_(pages), table_(TableDefinition::read(pages, tablePage)) {}

    const Column& column(std::string_view name) const { return requireColumn(table_, name); }
    const Column* optionalColumn(std::string_view name) const { return findColumn(table_, name); }

    template <typename Visit>
    void forEachRow(Visit visit) {
        RowFinder finder(pages_, table_.page);
        for (std::uint32_t rowId : liveRows(pages_, table_)) {
            StoredRow stored = finder.find(rowId);
            RowView row = crackRow(stored.bytes, pages_.format(), table_.varColumnCount > 0);
            visit([&](const Column& column) { return readColumnValue(column, row, pages_); });
        }
    }

private:
    PageStore& pages_;
    TableDefinition table_;
};

std::int64_t integerOf(const Variant& value) {
    return value.isNull() ? 0 : value.integerValue();
}

} // namespace

Catalog Catalog::read(PageStore& pages) {
    SystemTableReader objects(pages, catalogPage);
    const Column& idColumn = objects.column("Id");
    const Column& parentColumn = objects.column("ParentId");
    const Column& nameColumn = objects.column("Name");
    const Column& typeColumn = objects.column("Type");
    const Column& flagsColumn = objects.column("Flags");
    const Column& databaseColumn = objects.column("Database");
    const Column& foreignColumn = objects.column("ForeignName");
    const Column& connectColumn = objects.column("Connect");

    std::vector<std::pair<std::int32_t, CatalogEntry>> entries;
    std::int32_t tablesContainer = 0;
    bool containerFound = false;
    objects.forEachRow([&](auto value) {
        CatalogEntry entry;
        entry.id = static_cast<std::int32_t>(integerOf(value(idColumn)));
        entry.name = value(nameColumn).stringValue();
        entry.kind = static_cast<std::int16_t>(integerOf(value(typeColumn)));
        entry.flags = static_cast<std::uint32_t>(integerOf(value(flagsColumn)));
        auto parent = static_cast<std::int32_t>(integerOf(value(parentColumn)));
        if (entry.kind == containerKind && entry.name == "Tables") {
            tablesContainer = entry.id;
            containerFound = true;
        }
        if (entry.kind == CatalogEntry::LocalTable || entry.isLinked() ||
            entry.kind == CatalogEntry::Query) {
            if (entry.isLinked()) {
                entry.linkedDatabase = value(databaseColumn).stringValue();
                entry.foreignName = value(foreignColumn).stringValue();
                entry.connect = value(connectColumn).stringValue();
            }
            entries.emplace_back(parent, std::move(entry));
        }
    });

    Catalog catalog;
    for (auto& [parent, entry] : entries) {
        if (containerFound && parent != tablesContainer)
            continue;
        if (entry.kind == CatalogEntry::LocalTable && entry.name == "MSysQueries")
            catalog.queriesTablePage_ = entry.tablePage();
        (entry.kind == CatalogEntry::Query ? catalog.queries_ : catalog.tables_)
            .push_back(std::move(entry));
    }
    auto byName = [](const CatalogEntry& a, const CatalogEntry& b) {
        return nameLess(a.name, b.name);
    };
    std::sort(catalog.tables_.begin(), catalog.tables_.end(), byName);
    std::sort(catalog.queries_.begin(), catalog.queries_.end(), byName);
    return catalog;
}

std::vector<QueryParameter> Catalog::parameters(PageStore& pages, const CatalogEntry& query) const {
    std::vector<QueryParameter> parameters;
    for (const QueryRow& row : queryRows(pages, query))
        if (row.attribute == parameterAttribute)
            parameters.push_back({row.name1, static_cast<std::int16_t>(row.flag)});
    return parameters;
}

std::vector<QueryRow> Catalog::queryRows(PageStore& pages, const CatalogEntry& query) const {
    std::vector<QueryRow> rows;
    if (queriesTablePage_ == 0)
        return rows;
    SystemTableReader queries(pages, queriesTablePage_);
    const Column& objectColumn = queries.column("ObjectId");
    const Column& attributeColumn = queries.column("Attribute");
    const Column& name1Column = queries.column("Name1");
    const Column& name2Column = queries.column("Name2");
    const Column& expressionColumn = queries.column("Expression");
    const Column& flagColumn = queries.column("Flag");
    queries.forEachRow([&](auto value) {
        if (integerOf(value(objectColumn)) != query.id)
            return;
        QueryRow row;
        row.attribute = static_cast<std::int16_t>(integerOf(value(attributeColumn)));
        row.name1 = value(name1Column).stringValue();
        row.name2 = value(name2Column).stringValue();
        row.expression = value(expressionColumn).stringValue();
        row.flag = static_cast<std::int32_t>(integerOf(value(flagColumn)));
        rows.push_back(std::move(row));
    });
    return rows;
}

std::vector<std::string> Catalog::requiredColumns(PageStore& pages,
                                                  const CatalogEntry& table) const {
    std::vector<std::string> columns;
    SystemTableReader objects(pages, catalogPage);
    const Column& idColumn = objects.column("Id");
    const Column* propertiesColumn = objects.optionalColumn("LvProp");
    if (propertiesColumn == nullptr)
        return columns;
    objects.forEachRow([&](auto value) {
        if (integerOf(value(idColumn)) != table.id)
            return;
        Variant properties = value(*propertiesColumn);
        if (properties.isNull())
            return;
        const std::string& bytes = properties.stringValue();
        columns = file::requiredColumns(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            pages.format().jet4);
    });
    return columns;
}

} // namespace mdbengine::file
