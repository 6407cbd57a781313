#include "mdbengine/tables/TableRows.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/DeletedRow.h"
#include "mdbengine/tables/TableDefinition.h"

namespace mdbengine::file {

namespace {

// A moved row points straight at its image; a few hops are tolerated, a loop is not.
constexpr int maxOverflowHops = 4;

} // namespace

std::vector<std::uint32_t> liveRows(PageStore& pages, const TableDefinition& table) {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t number : readUsageMap(pages, table.ownedPagesMap)) {
        auto bytes = pages.page(number);
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

const DataPage& RowFinder::page(std::uint32_t number) {
    if (!cached_ || cachedNumber_ != number || cachedGeneration_ != pages_.generation()) {
        cached_.reset();
        cached_.emplace(pages_.page(number), pages_.format());
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
