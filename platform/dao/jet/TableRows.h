#pragma once

// The rows of a table, found by walking the data pages its usage map marks: a slot flagged
// deleted (0x8000) is skipped, whether it held a deleted row or the moved image of a row;
// a slot flagged 0x4000 keeps its row's place and points to where its bytes are now.

#include <cstdint>
#include <span>
#include <vector>

namespace platform::dao::jet {

class PageStore;
struct TableDefinition;

// Row ids (page << 8 | slot) of the table's live rows in page and slot order.
std::vector<std::uint32_t> liveRows(PageStore& pages, const TableDefinition& table);

struct StoredRow {
    std::uint32_t rowId = 0; // where the bytes are: the row itself or its moved image
    std::span<const std::uint8_t> bytes;
};

// The row's bytes, following an overflow pointer. Throws FormatError when the pointer leads
// nowhere or to another table's page.
StoredRow findRow(PageStore& pages, std::uint32_t tablePage, std::uint32_t rowId);

} // namespace platform::dao::jet
