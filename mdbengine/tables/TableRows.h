#pragma once

// The rows of a table, found by walking the data pages its usage map marks: a slot flagged
// deleted (0x8000) is skipped, whether it held a deleted row or the moved image of a row;
// a slot flagged 0x4000 keeps its row's place and points to where its bytes are now.

#include "mdbengine/pages/DataPage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mdbengine::file {

class PageStore;
struct TableDefinition;

// Row ids (page << 8 | slot) of the table's live rows in page and slot order.
std::vector<std::uint32_t> liveRows(PageStore& pages, const TableDefinition& table);

// The rows the table's definition page counts now; a definition read earlier keeps the
// count it was read with.
std::uint32_t countedRows(PageStore& pages, const TableDefinition& table);

struct StoredRow {
    std::uint32_t rowId = 0; // where the bytes are: the row itself or its moved image
    std::span<const std::uint8_t> bytes;
};

// Finds rows' bytes, following overflow pointers, and keeps the last page it looked at, so
// that a walk in page order reads each page's slot table once. Throws FormatError when a
// pointer leads nowhere or to another table's page, DeletedRow when the row's own slot is
// marked deleted.
class RowFinder {
public:
    RowFinder(PageStore& pages, std::uint32_t tablePage) : pages_(pages), tablePage_(tablePage) {}

    StoredRow find(std::uint32_t rowId);
    // Pages may have changed.
    void forget() { cached_.reset(); }

private:
    const DataPage& page(std::uint32_t number);

    PageStore& pages_;
    std::uint32_t tablePage_;
    std::uint32_t cachedNumber_ = 0;
    std::uint64_t cachedGeneration_ = 0;
    std::optional<DataPage> cached_;
};

inline StoredRow findRow(PageStore& pages, std::uint32_t tablePage, std::uint32_t rowId) {
    return RowFinder(pages, tablePage).find(rowId);
}

} // namespace mdbengine::file
