#include "platform/dao/jet/TableRows.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/DataPage.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/PageStore.h"
#include "platform/dao/jet/TableDefinition.h"
#include "platform/dao/jet/UsageMap.h"

namespace platform::dao::jet {

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

StoredRow findRow(PageStore& pages, std::uint32_t tablePage, std::uint32_t rowId) {
    for (int hop = 0; hop <= maxOverflowHops; ++hop) {
        DataPage page(pages.page(DataPage::pageOf(rowId)), pages.format());
        if (page.owner() != tablePage)
            throw FormatError("a row pointer leads to another table's page");
        std::uint16_t slot = DataPage::slotOf(rowId);
        auto row = page.row(slot);
        if (!page.isOverflowPointer(slot))
            return {rowId, row};
        if (row.size() < 4)
            throw FormatError("an overflow pointer is too short");
        rowId = get32(row.data());
    }
    throw FormatError("overflow pointers form a chain or a loop");
}

} // namespace platform::dao::jet
