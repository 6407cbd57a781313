#pragma once

// Writes one table's rows into the page cache, with their long values and index entries. A
// row keeps its home slot for good, so row ids, index entries and the walk order stay as
// they are: a row that no longer fits its page moves to a page with room (its image slot
// flagged 0x8000) and the home slot becomes a pointer to it (flagged 0x4000); when it moves
// again, the image it leaves is marked deleted. New rows and moved ones go to a page the
// table's map of pages with free space marks; a new page, made only when none has room,
// joins the table's usage maps and leaves the database's map of free pages.
//
// Every change is checked before anything is written: a column whose Required property is
// set left Null throws RequiredValueMissing, a key a unique index holds already or a Null
// in a required key throws IndexViolation, a value no index key is known for throws
// UnencodableKey, a row no page holds throws RowTooLarge, an index whose pages loop or are
// linked out of order throws DamagedIndex; FormatError reports inconsistent pages. Index
// pages are kept decoded until flush().

#include "mdbengine/pages/FreeSpacePages.h"
#include "mdbengine/tables/IndexTree.h"
#include "mdbengine/tables/LongValueWriter.h"
#include "mdbengine/tables/RowImage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mdbengine::file {

class PageStore;
struct IndexKey;
struct TableDefinition;

// New contents of memo and long binary columns, by column number, as the bytes to store;
// nothing for Null.
using LongValues = std::map<std::uint16_t, std::optional<std::string>>;

class TableWriter {
public:
    TableWriter(PageStore& pages, const TableDefinition& table);

    // The row whose home slot is `rowId` gets `row`, whose long-value columns named in
    // `longValues` take those values.
    void update(std::uint32_t rowId, RowImage row, const LongValues& longValues = {});
    // A new row; its row id. The table's row count goes up.
    std::uint32_t insert(RowImage row, const LongValues& longValues = {});
    // The row, its long values and its index entries go; the row count goes down.
    void remove(std::uint32_t rowId);
    // The next autonumber after the last one given, which the table definition keeps; and a
    // number given to a new row, which the next ones follow when it is greater.
    std::uint32_t nextAutoNumber();
    void noteAutoNumber(std::uint32_t given);

    // Writes the index pages changed since the last flush.
    void flush();

private:
    struct IndexChange {
        std::size_t index = 0;
        bool hadEntry = false;
        std::optional<std::vector<std::uint8_t>> oldKey;        // nothing: found by its row
        std::optional<std::vector<std::uint8_t>> oldEarlierKey; // as this engine once wrote it
        std::optional<std::vector<std::uint8_t>> newKey;        // nothing: no entry
    };

    std::uint32_t place(std::span<const std::uint8_t> row, std::uint16_t flags);
    std::uint32_t newPage();
    void addToRowCount(std::int32_t delta);
    void writeRow(std::uint32_t rowId, std::span<const std::uint8_t> row);
    // The table a data page belongs to.
    std::uint32_t ownerOf(std::uint32_t page);
    void checkRequired(const RowView& row) const;
    IndexTree& tree(std::size_t index);
    std::string indexName(std::size_t index) const;
    bool keyColumnsDiffer(std::size_t index, const RowView& before, const RowView& after,
                          const LongValues& longValues) const;
    std::optional<std::vector<std::uint8_t>> checkedNewKey(std::size_t index, const IndexKey& key,
                                                           std::optional<std::uint32_t> rowId);
    std::vector<std::uint8_t> packWithLongValues(RowImage& row, const LongValues& longValues,
                                                 bool store);
    // The row packed as it will be stored (its long values by stand-ins of their size), to
    // measure it and compute its keys before anything is written.
    std::vector<std::uint8_t> measure(const RowImage& row, const LongValues& longValues);
    void applyIndexChanges(const std::vector<IndexChange>& changes, std::uint32_t rowId);

    PageStore& pages_;
    const TableDefinition& table_;
    std::uint32_t tablePage_;
    std::uint32_t ownedPagesMap_;
    FreeSpacePages freeSpace_;
    LongValueWriter longValues_;
    std::map<std::size_t, std::unique_ptr<IndexTree>> trees_;
};

} // namespace mdbengine::file
