#pragma once

// Writes a table's memo and long binary values. A value of up to 64 bytes stays in its row
// after the reference; a longer one takes one row of a long-value page when a page can hold
// it, else a chain of rows, each with the pointer to the next. Each column's rows go to the
// pages its map of pages with free space marks, a new page only when none has room; new
// pages join the column's usage maps (when the table definition has them). Values given up
// are marked deleted row by row, and their pages have room again.

#include "mdbengine/pages/FreeSpacePages.h"

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace mdbengine::file {

class PageStore;
struct Column;
struct TableDefinition;

class LongValueWriter {
public:
    LongValueWriter(PageStore& pages, const TableDefinition& table);

    // What the row keeps of a value: the reference, and the bytes themselves when they stay
    // in the row.
    static std::size_t rowBytes(std::size_t length);
    // Stores the value; answers what the row keeps. Throws FormatError when a page cannot be
    // changed.
    std::vector<std::uint8_t> store(const Column& column, std::span<const std::uint8_t> bytes);
    // Gives up the long-value rows a reference points to; a damaged chain is left where it
    // breaks.
    void release(const Column& column, std::span<const std::uint8_t> reference);

private:
    FreeSpacePages& freeSpace(const Column& column);
    std::uint32_t placeRow(const Column& column, std::span<const std::uint8_t> row);
    std::uint32_t newPage(const Column& column);
    bool deleteRow(const Column& column, std::uint32_t rowId);

    PageStore& pages_;
    const TableDefinition& table_;
    std::map<std::uint16_t, FreeSpacePages> freeSpace_; // by column number
};

} // namespace mdbengine::file
