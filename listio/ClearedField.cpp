#include "listio/ClearedField.h"

#include "mdbengine/dao/DBEngine.h"
#include "mdbengine/dao/Database.h"
#include "mdbengine/dao/Recordset.h"
#include "mdbengine/tables/Names.h"

#include <algorithm>
#include <set>

namespace quillan {

namespace {

namespace file = mdbengine::file;
using file::ColumnType;

// Stand-ins never need more than a few million values: numbers of wider types stay within
// what every one of them holds exactly (a Single's whole numbers go to 2^24). Byte, Integer
// and Decimal fields hold fewer, as the list's fields say.
constexpr long long widestStandIn = (1LL << 24) - 1;

// How the field is cleared: its stand-ins' kind, and whether it takes a Null (it is not
// Required, and no index over it refuses one: a primary key does).
ClearedField clearingOf(int column, const AccessField& field, const file::Column& definition,
                        const file::TableDefinition& table, bool jet4) {
    ClearedField cleared;
    cleared.column = column;
    cleared.takesNull = !table.requiredColumns.count(definition.number);
    for (const file::StoredIndex& index : table.storedIndexes)
        for (const file::IndexColumn& part : index.columns)
            if (part.columnNumber == definition.number && index.required)
                cleared.takesNull = false;
    cleared.text = definition.type == ColumnType::Text || definition.type == ColumnType::Memo;
    if (definition.type == ColumnType::Memo)
        cleared.width = 255;
    else
        cleared.width = jet4 ? definition.length / 2 : definition.length;
    cleared.largest = std::min(field.largestNumber.value_or(widestStandIn), widestStandIn);
    cleared.smallest = definition.type == ColumnType::Byte ? 0 : -cleared.largest;
    return cleared;
}

std::set<std::uint16_t> uniquelyIndexedColumns(const file::TableDefinition& table) {
    std::set<std::uint16_t> columns;
    for (const file::StoredIndex& index : table.storedIndexes)
        if (index.unique)
            for (const file::IndexColumn& part : index.columns)
                columns.insert(part.columnNumber);
    return columns;
}

} // namespace

std::vector<ClearedField> clearedFieldsOf(const std::string& path, const std::string& table,
                                          const ListState& state) {
    namespace dao = mdbengine;
    dao::DBEngine engine;
    std::shared_ptr<dao::Database> database;
    std::shared_ptr<dao::Recordset> recordset;
    if (dao::failed(engine.openDatabase(path, false, true, {}, database)) ||
        dao::failed(database->openRecordset(table, dao::Recordset::readOnly, recordset)))
        return {};
    const file::TableDefinition& definition = recordset->table();
    const std::set<std::uint16_t> indexed = uniquelyIndexedColumns(definition);
    std::vector<ClearedField> cleared;
    std::set<int> seen;
    for (int column :
         {state.sortColumn, state.trayColumn, state.packageColumn, state.endorsementColumn}) {
        if (column < 0 || column >= static_cast<int>(state.accessFields.size()) ||
            !seen.insert(column).second)
            continue;
        const AccessField& field = state.accessFields[static_cast<size_t>(column)];
        auto found = std::find_if(
            definition.columns.begin(), definition.columns.end(),
            [&field](const file::Column& c) { return file::sameName(c.name, field.name); });
        if (found != definition.columns.end() && indexed.count(found->number))
            cleared.push_back(clearingOf(column, field, *found, definition, recordset->jet4()));
    }
    return cleared;
}

} // namespace quillan
