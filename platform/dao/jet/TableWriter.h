#pragma once

// Writes one table's rows into the page cache. A row keeps its home slot for good, so row
// ids, indexes and the walk order stay as they are: a row that no longer fits its page
// moves to a page with room (its image slot flagged 0x8000) and the home slot becomes a
// pointer to it (flagged 0x4000); when it moves again, the image it leaves is marked
// deleted. New pages join the table's usage maps and leave the database's map of free
// pages. Throws FormatError on inconsistent pages, RowTooLarge for a row no page holds.

#include <cstdint>
#include <span>

namespace platform::dao::jet {

class PageStore;
struct TableDefinition;

class TableWriter {
public:
    TableWriter(PageStore& pages, const TableDefinition& table);

    // The row whose home slot is `rowId` gets the stored form `row`.
    void update(std::uint32_t rowId, std::span<const std::uint8_t> row);
    // A new row; its row id. The table's row count goes up.
    std::uint32_t insert(std::span<const std::uint8_t> row);
    // The row is marked deleted, its moved image too; the row count goes down.
    void remove(std::uint32_t rowId);
    // The next autonumber, which the table definition keeps as the last one given.
    std::uint32_t takeAutoNumber();

private:
    std::uint32_t place(std::span<const std::uint8_t> row, std::uint16_t flags);
    std::uint32_t newPage();
    void addToRowCount(std::int32_t delta);

    PageStore& pages_;
    std::uint32_t tablePage_;
    std::uint32_t ownedPagesMap_;
    std::uint32_t freeSpaceMap_;
    std::uint32_t lastPlacedPage_ = 0; // where the last moved or new row went
};

} // namespace platform::dao::jet
