#include "mdbengine/tables/TableDefinition.h"

#include "mdbengine/pages/ByteCursor.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/TextCodec.h"

#include <algorithm>
#include <string>

namespace mdbengine::file {

namespace {

constexpr std::uint8_t systemTableType = 0x53;
constexpr std::size_t keyColumnsPerIndex = 10;
constexpr std::uint16_t noColumn = 0xFFFF;
constexpr std::uint8_t primaryIndexType = 0x01;
constexpr std::uint8_t foreignIndexType = 0x02;

// The definition may run over several pages; each continuation page adds its bytes after
// its 8-byte header.
std::vector<std::uint8_t> readChain(PageStore& pages, std::uint32_t firstPage) {
    std::vector<std::uint8_t> bytes;
    std::set<std::uint32_t> seen;
    std::uint32_t number = firstPage;
    while (number != 0) {
        if (!seen.insert(number).second)
            throw FormatError("the definition pages of a table form a loop");
        auto page = pages.page(number);
        if (page[0] != static_cast<std::uint8_t>(PageType::TableDefinition))
            throw FormatError("page " + std::to_string(number) + " is not a table definition");
        bytes.insert(bytes.end(), page.begin() + (bytes.empty() ? 0 : 8), page.end());
        number = get32(page.data() + 4);
    }
    return bytes;
}

std::string readName(ByteCursor& cursor, bool jet4) {
    if (jet4) {
        std::uint16_t length = cursor.u16();
        return ucs2ToUtf8(cursor.bytes(length));
    }
    std::uint8_t length = cursor.u8();
    auto bytes = cursor.bytes(length);
    return jet3TextToUtf8(bytes);
}

Column readColumn(ByteCursor& cursor, const JetFormat& f) {
    auto entry = cursor.bytes(f.columnEntrySize);
    Column column;
    column.type = static_cast<ColumnType>(entry[0]);
    column.number = get16(entry.data() + f.columnNumberOffset);
    column.varIndex = get16(entry.data() + f.columnVarIndexOffset);
    column.ordinal = get16(entry.data() + f.columnOrdinalOffset);
    column.precision = entry[f.columnMiscOffset];
    column.scale = entry[f.columnMiscOffset + 1];
    column.flags = entry[f.columnFlagsOffset];
    column.compressedText = f.jet4 && (entry[f.columnFlagsOffset + 1] & 0x01) != 0;
    column.fixedOffset = get16(entry.data() + f.columnFixedOffsetOffset);
    column.length = get16(entry.data() + f.columnLengthOffset);
    return column;
}

// Index flags: unique, nulls left out, no Null allowed.
constexpr std::uint8_t uniqueFlag = 0x01;
constexpr std::uint8_t ignoreNullsFlag = 0x02;
constexpr std::uint8_t requiredFlag = 0x08;

// Jet4 keeps four bytes between the root page and the flags (files written by Access put
// the flags 46 bytes into the entry, not 42).
StoredIndex readStoredIndex(ByteCursor& cursor, const JetFormat& f) {
    if (f.jet4)
        cursor.skip(4);
    StoredIndex index;
    for (std::size_t k = 0; k < keyColumnsPerIndex; ++k) {
        std::uint16_t number = cursor.u16();
        std::uint8_t order = cursor.u8();
        if (number != noColumn)
            index.columns.push_back({number, order != 0x01});
    }
    index.usageMap = cursor.u32();
    index.rootPage = cursor.u32();
    if (f.jet4)
        cursor.skip(4);
    std::uint8_t flags = cursor.u8();
    if (f.jet4)
        cursor.skip(5);
    index.unique = (flags & uniqueFlag) != 0;
    index.ignoreNulls = (flags & ignoreNullsFlag) != 0;
    index.required = (flags & requiredFlag) != 0;
    return index;
}

std::map<std::uint16_t, TableDefinition::LongValueMaps> readLongValueMaps(ByteCursor& cursor) {
    std::map<std::uint16_t, TableDefinition::LongValueMaps> maps;
    while (cursor.remaining() >= 10) {
        std::uint16_t column = cursor.u16();
        if (column == noColumn)
            break;
        TableDefinition::LongValueMaps entry;
        entry.ownedPages = cursor.u32();
        entry.freeSpace = cursor.u32();
        maps.emplace(column, entry);
    }
    return maps;
}

} // namespace

const Column* TableDefinition::columnByNumber(std::uint16_t number) const {
    for (const Column& column : columns)
        if (column.number == number)
            return &column;
    return nullptr;
}

TableDefinition TableDefinition::read(PageStore& pages, std::uint32_t firstPage) {
    const JetFormat& f = pages.format();
    std::vector<std::uint8_t> bytes = readChain(pages, firstPage);
    ByteCursor cursor(bytes);

    TableDefinition table;
    table.page = firstPage;
    cursor.seek(f.tdefRowCountOffset);
    table.rowCount = cursor.u32();
    table.nextAutoNumber = cursor.u32();
    cursor.seek(f.tdefTableTypeOffset);
    table.systemTable = cursor.u8() == systemTableType;
    table.maxColumns = cursor.u16();
    table.varColumnCount = cursor.u16();
    std::uint16_t columnCount = cursor.u16();
    std::uint32_t indexCount = cursor.u32();
    std::uint32_t realIndexCount = cursor.u32();
    table.ownedPagesMap = cursor.u32();
    table.freeSpaceMap = cursor.u32();

    cursor.skip(static_cast<std::size_t>(realIndexCount) * f.realIndexCountEntrySize);
    table.columns.reserve(columnCount);
    for (std::uint16_t i = 0; i < columnCount; ++i)
        table.columns.push_back(readColumn(cursor, f));
    for (Column& column : table.columns)
        column.name = readName(cursor, f.jet4);

    for (std::uint32_t i = 0; i < realIndexCount; ++i) {
        table.storedIndexes.push_back(readStoredIndex(cursor, f));
        for (const IndexColumn& key : table.storedIndexes.back().columns)
            table.indexedColumns.insert(key.columnNumber);
    }
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        if (f.jet4)
            cursor.skip(4);
        cursor.skip(4); // the index's own number
        std::uint32_t realIndex = cursor.u32();
        cursor.skip(1 + 4 + 4 + 1 + 1); // the relationship it belongs to
        std::uint8_t type = cursor.u8();
        if (f.jet4)
            cursor.skip(4);
        if (realIndex >= table.storedIndexes.size())
            throw FormatError("an index refers to index data that does not exist");
        StoredIndex& stored = table.storedIndexes[realIndex];
        IndexDefinition index;
        index.columns = stored.columns;
        index.storedIndex = realIndex;
        index.primary = type == primaryIndexType;
        index.foreign = type == foreignIndexType;
        index.unique = index.primary || stored.unique;
        index.ignoreNulls = stored.ignoreNulls;
        index.required = index.primary || stored.required;
        stored.unique = stored.unique || index.primary;
        stored.required = stored.required || index.primary;
        table.indexes.push_back(std::move(index));
    }
    for (IndexDefinition& index : table.indexes)
        index.name = readName(cursor, f.jet4);
    table.longValueMaps = readLongValueMaps(cursor);

    std::stable_sort(table.columns.begin(), table.columns.end(),
                     [](const Column& a, const Column& b) { return a.ordinal < b.ordinal; });
    return table;
}

} // namespace mdbengine::file
