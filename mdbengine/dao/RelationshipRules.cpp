#include "mdbengine/dao/RelationshipRules.h"

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/tables/Catalog.h"
#include "mdbengine/tables/ColumnValue.h"
#include "mdbengine/tables/Names.h"
#include "mdbengine/tables/RowCodec.h"
#include "mdbengine/tables/RowImage.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableRows.h"
#include "mdbengine/tables/TableWriter.h"

#include <algorithm>

namespace mdbengine {

namespace {

std::optional<std::size_t> columnIndex(const file::TableDefinition& table,
                                       const std::string& name) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (file::sameName(table.columns[i].name, name))
            return i;
    return std::nullopt;
}

std::vector<Variant> keyOf(const RelationshipRules::Values& values,
                           const std::vector<std::size_t>& columns) {
    std::vector<Variant> key;
    for (std::size_t column : columns)
        key.push_back(values[column]);
    return key;
}

bool anyNull(const std::vector<Variant>& key) {
    return std::any_of(key.begin(), key.end(),
                       [](const Variant& value) { return value.isNull() || value.isEmpty(); });
}

std::string named(const file::Relationship& relationship) {
    return "The relationship '" + relationship.name + "' ties " + relationship.describeColumns() +
           " to " + relationship.describeReferencedColumns();
}

} // namespace

RelationshipRules::RelationshipRules(DatabaseFile& file)
    : file_(file), order_(file::textOrderOf(file.pages().format().jet4)) {
    for (file::Relationship& relationship : file::readRelationships(file.pages(), file.catalog()))
        if (relationship.enforced() && !relationship.columns.empty() &&
            relationship.columns.size() == relationship.referencedColumns.size())
            relationships_.push_back(std::move(relationship));
}

std::shared_ptr<const file::TableDefinition>
RelationshipRules::localTable(const std::string& name) {
    for (const file::CatalogEntry& entry : file_.catalog().tables())
        if (entry.kind == file::CatalogEntry::LocalTable && file::sameName(entry.name, name))
            return file_.tableDefinition(entry.tablePage());
    return nullptr;
}

// Both tables must be local tables with the columns named; a relationship that is not is
// kept by the database its tables live in.
std::vector<RelationshipRules::Side> RelationshipRules::sides(const file::TableDefinition& table,
                                                              bool referring) {
    std::vector<Side> found;
    for (const file::Relationship& relationship : relationships_) {
        auto here = localTable(referring ? relationship.table : relationship.referencedTable);
        if (!here || here->page != table.page)
            continue;
        auto other = localTable(referring ? relationship.referencedTable : relationship.table);
        if (!other)
            continue;
        const auto& hereNames = referring ? relationship.columns : relationship.referencedColumns;
        const auto& otherNames = referring ? relationship.referencedColumns : relationship.columns;
        Side side{&relationship, here, {}, other, {}};
        for (std::size_t i = 0; i < hereNames.size(); ++i) {
            auto mine = columnIndex(*here, hereNames[i]);
            auto theirs = columnIndex(*other, otherNames[i]);
            if (mine && theirs) {
                side.columns.push_back(*mine);
                side.otherColumns.push_back(*theirs);
            }
        }
        if (side.columns.size() == hereNames.size())
            found.push_back(std::move(side));
    }
    return found;
}

bool RelationshipRules::concerns(const file::TableDefinition& table) {
    return !sides(table, true).empty() || !sides(table, false).empty();
}

RelationshipRules::Values RelationshipRules::valuesOf(const file::TableDefinition& table,
                                                      std::uint32_t rowId) {
    file::PageStore& pages = file_.pages();
    file::StoredRow stored = file::findRow(pages, table.page, rowId);
    file::RowView row = file::crackRow(stored.bytes, pages.format(), table.varColumnCount > 0);
    Values values;
    for (const file::Column& column : table.columns)
        values.push_back(column.isLongValue() ? Variant::null()
                                              : file::readColumnValue(column, row, pages));
    return values;
}

bool RelationshipRules::sameKey(const std::vector<Variant>& a,
                                const std::vector<Variant>& b) const {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (file::compareKeyValues(a[i], b[i], order_) != 0)
            return false;
    return true;
}

std::vector<std::uint32_t> RelationshipRules::rowsHolding(const file::TableDefinition& table,
                                                          const std::vector<std::size_t>& columns,
                                                          const std::vector<Variant>& key) {
    file::PageStore& pages = file_.pages();
    file::RowFinder finder(pages, table.page, file::RowFinder::Reading::Walk);
    std::vector<std::uint32_t> rows;
    for (std::uint32_t rowId : file::liveRows(pages, table)) {
        file::StoredRow stored = finder.find(rowId);
        file::RowView row = file::crackRow(stored.bytes, pages.format(), table.varColumnCount > 0);
        std::vector<Variant> values;
        for (std::size_t column : columns)
            values.push_back(file::readColumnValue(table.columns[column], row, pages));
        if (sameKey(values, key))
            rows.push_back(rowId);
    }
    return rows;
}

void RelationshipRules::checkReferred(const Side& side, const Values& after) {
    std::vector<Variant> key = keyOf(after, side.columns);
    if (anyNull(key) || !rowsHolding(*side.other, side.otherColumns, key).empty())
        return;
    throw RelationshipViolation{
        ErrorNumber::RelatedRecordRequired, side.relationship->referencedTable,
        named(*side.relationship) + ", and no record there matches; nothing was changed."};
}

std::vector<RelationshipRules::Consequence>
RelationshipRules::consequences(const file::TableDefinition& table,
                                std::optional<std::uint32_t> rowId, const Values* before,
                                const Values* after) {
    if (after)
        for (const Side& side : sides(table, true))
            if (!before || !sameKey(keyOf(*before, side.columns), keyOf(*after, side.columns)))
                checkReferred(side, *after);
    std::vector<Consequence> carried;
    carried_.clear();
    if (before && rowId) {
        carried_.insert({table.page, *rowId});
        follow(table, *rowId, before, after, carried);
    }
    return carried;
}

// The rows that refer to the changed or deleted row by the columns that change: carried
// along where the relationship cascades, else the change is refused.
void RelationshipRules::follow(const file::TableDefinition& table, std::uint32_t rowId,
                               const Values* before, const Values* after,
                               std::vector<Consequence>& out) {
    for (const Side& side : sides(table, false)) {
        std::vector<Variant> oldKey = keyOf(*before, side.columns);
        if (anyNull(oldKey) || (after && sameKey(oldKey, keyOf(*after, side.columns))))
            continue;
        std::vector<std::uint32_t> referring = rowsHolding(*side.other, side.otherColumns, oldKey);
        std::erase_if(referring, [&](std::uint32_t row) {
            return side.other->page == table.page && row == rowId;
        });
        if (referring.empty())
            continue;
        const file::Relationship& relationship = *side.relationship;
        if (after ? !relationship.cascadesUpdates() : !relationship.cascadesDeletes())
            throw RelationshipViolation{
                ErrorNumber::RelatedRecordsExist, relationship.table,
                named(relationship) +
                    (after ? " and carries no change" : " and carries no deletion") +
                    " to the records that refer; nothing was changed."};
        for (std::uint32_t row : referring) {
            if (!carried_.insert({side.other->page, row}).second)
                continue;
            Values childBefore = valuesOf(*side.other, row);
            Consequence consequence{side.other, row, {}};
            if (after) {
                Values childAfter = childBefore;
                for (std::size_t i = 0; i < side.columns.size(); ++i) {
                    childAfter[side.otherColumns[i]] = (*after)[side.columns[i]];
                    consequence.changes.emplace_back(side.otherColumns[i],
                                                     (*after)[side.columns[i]]);
                }
                out.push_back(std::move(consequence));
                follow(*side.other, row, &childBefore, &childAfter, out);
            } else {
                consequence.deleted = true;
                out.push_back(std::move(consequence));
                follow(*side.other, row, &childBefore, nullptr, out);
            }
        }
    }
}

void RelationshipRules::apply(const std::vector<Consequence>& consequences) {
    file::PageStore& pages = file_.pages();
    bool jet4 = pages.format().jet4;
    for (const Consequence& consequence : consequences) {
        const file::TableDefinition& table = *consequence.table;
        file::TableWriter& writer = file_.writer(table);
        if (consequence.deleted) {
            writer.remove(consequence.rowId);
            continue;
        }
        file::StoredRow stored = file::findRow(pages, table.page, consequence.rowId);
        file::RowImage row(file::crackRow(stored.bytes, pages.format(), table.varColumnCount > 0));
        for (const auto& [column, value] : consequence.changes)
            file::putValue(row, table.columns[column], value, jet4);
        writer.update(consequence.rowId, std::move(row));
    }
}

} // namespace mdbengine
