#pragma once

// A table's definition page chain: its columns, indexes, row count and the two usage maps
// (pages it owns, pages with free space).

#include "mdbengine/tables/Column.h"
#include "mdbengine/tables/IndexDefinition.h"

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace mdbengine::file {

class PageStore;

struct TableDefinition {
    std::uint32_t page = 0; // the first page of the chain
    std::uint32_t rowCount = 0;
    std::uint32_t nextAutoNumber = 0;
    bool systemTable = false;
    std::uint16_t maxColumns = 0; // columns a row may have, deleted ones included
    std::uint16_t varColumnCount = 0;
    std::vector<Column> columns; // in their order for users
    std::vector<IndexDefinition> indexes;
    std::vector<StoredIndex> storedIndexes;
    // Numbers of the columns that any index structure covers.
    std::set<std::uint16_t> indexedColumns;
    // Numbers of the columns whose Required property is set (kept with the table's
    // properties, not in its definition): they take no Null.
    std::set<std::uint16_t> requiredColumns;
    // Row pointers (page << 8 | row) of the two usage maps.
    std::uint32_t ownedPagesMap = 0;
    std::uint32_t freeSpaceMap = 0;
    // Memo and long binary columns keep the pages of their values in two maps of their own,
    // by column number.
    struct LongValueMaps {
        std::uint32_t ownedPages = 0;
        std::uint32_t freeSpace = 0;
    };
    std::map<std::uint16_t, LongValueMaps> longValueMaps;

    const Column* columnByNumber(std::uint16_t number) const;

    // Throws FormatError when the chain or its contents do not hold together.
    static TableDefinition read(PageStore& pages, std::uint32_t firstPage);
};

} // namespace mdbengine::file
