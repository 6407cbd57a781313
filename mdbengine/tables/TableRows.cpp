#include "mdbengine/tables/TableRows.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/DeletedRow.h"
#include "mdbengine/tables/TableDefinition.h"

#include <algorithm>

namespace mdbengine::file {

namespace {

// A moved row points straight at its image; a few hops are tolerated, a loop is not.
constexpr int maxOverflowHops = 4;

} // namespace

std::vector<std::uint32_t> liveRows(PageStore& pages, const TableDefinition& table) {
    std::vector<std::uint32_t> rows;
    const std::vector<std::uint32_t> owned = readUsageMap(pages, table.ownedPagesMap);
    // As many as the table counts, which a damaged count cannot take beyond what its pages
    // could hold.
    rows.reserve(
        std::min<std::size_t>(countedRows(pages, table), owned.size() * (pages.pageSize() / 2)));
    PageStore::WalkBuffer buffer;
    for (std::uint32_t number : owned) {
        auto bytes = pages.walkPage(number, buffer);
        if (bytes[0] != static_cast<std::uint8_t>(PageType::Data))
            continue;
        DataPage page(bytes, pages.format());
        if (page.owner() != table.page)
            continue;
        for (std::uint16_t slot = 0; slot < page.rowCount(); ++slot)
            if (!page.isDeleted(slot))
                rows.push_back(DataPage::rowId(number, slot));
    }
    return rows;
}

std::uint32_t countedRows(PageStore& pages, const TableDefinition& table) {
    return get32(pages.page(table.page).data() + pages.format().tdefRowCountOffset);
}

std::span<const std::uint8_t> RowFinder::read(std::uint32_t number) {
    if (!walking_)
        return pages_.page(number);
    const std::uint64_t file = buffer_.file;
    const std::uint32_t run = buffer_.run;
    try {
        auto bytes = pages_.walkPage(number, buffer_);
        if (buffer_.file != file || buffer_.run != run)
            ++version_;
        return bytes;
    } catch (...) {
        // A read that failed may have overwritten part of the buffer.
        ++version_;
        throw;
    }
}

const DataPage& RowFinder::page(std::uint32_t number) {
    if (!cached_ || cachedNumber_ != number || cachedGeneration_ != pages_.generation()) {
        cached_.reset();
        cached_.emplace(read(number), pages_.format());
        cachedNumber_ = number;
        cachedGeneration_ = pages_.generation();
    }
    return *cached_;
}

StoredRow RowFinder::find(std::uint32_t rowId) {
    for (int hop = 0; hop <= maxOverflowHops; ++hop) {
        const DataPage& home = page(DataPage::pageOf(rowId));
        if (home.owner() != tablePage_)
            throw FormatError("a row pointer leads to another table's page");
        std::uint16_t slot = DataPage::slotOf(rowId);
        if (hop == 0 && home.isDeleted(slot))
            throw DeletedRow();
        auto row = home.row(slot);
        if (!home.isOverflowPointer(slot))
            return {rowId, row};
        if (row.size() < 4)
            throw FormatError("an overflow pointer is too short");
        rowId = get32(row.data());
    }
    throw FormatError("overflow pointers form a chain or a loop");
}

} // namespace mdbengine::file
