#pragma once

// The rows of a table, found by walking the data pages its usage map marks: a slot flagged
// deleted (0x8000) is skipped, whether it held a deleted row or the moved image of a row;
// a slot flagged 0x4000 keeps its row's place and points to where its bytes are now.

#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/PageStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mdbengine::file {

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
//
// A finder for rows asked for in page order walks: it reads the pages through a buffer of
// its own (PageStore::walkPage), and the bytes of a row it found stay valid until its
// version or the generation changes; rows in any other order (an index's) are read from the
// pages the store keeps, valid until the generation changes.
class RowFinder {
public:
    enum class Reading { Kept, Walk };

    RowFinder(PageStore& pages, std::uint32_t tablePage, Reading reading = Reading::Kept)
        : pages_(pages), tablePage_(tablePage), walking_(reading == Reading::Walk) {}

    StoredRow find(std::uint32_t rowId);
    // Pages may have changed.
    void forget() { cached_.reset(); }
    void setReading(Reading reading) { walking_ = reading == Reading::Walk; }
    // Changes when the bytes of rows found before may no longer be there.
    std::uint64_t version() const { return version_; }

private:
    const DataPage& page(std::uint32_t number);
    std::span<const std::uint8_t> read(std::uint32_t number);

    PageStore& pages_;
    std::uint32_t tablePage_;
    bool walking_;
    std::uint64_t version_ = 0;
    PageStore::WalkBuffer buffer_;
    std::uint32_t cachedNumber_ = 0;
    std::uint64_t cachedGeneration_ = 0;
    std::optional<DataPage> cached_;
};

// The bytes stay valid until the generation changes.
inline StoredRow findRow(PageStore& pages, std::uint32_t tablePage, std::uint32_t rowId) {
    return RowFinder(pages, tablePage).find(rowId);
}

} // namespace mdbengine::file
