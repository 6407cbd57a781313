#include "mdbengine/pages/FreeSpacePages.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/DataPageEditor.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"

#include <vector>

namespace mdbengine::file {

FreeSpacePages::FreeSpacePages(PageStore& pages, std::uint32_t mapRow, std::uint32_t owner)
    : pages_(pages), mapRow_(mapRow), owner_(owner) {}

// A map that cannot be read offers no page; rows then go to new pages, as they would without
// it.
std::set<std::uint32_t>& FreeSpacePages::marked() {
    if (marked_)
        return *marked_;
    marked_.emplace();
    try {
        if (mapRow_ != 0)
            for (std::uint32_t page : readUsageMap(pages_, mapRow_, true))
                if (page < pages_.pageCount())
                    marked_->insert(page);
    } catch (const FormatError&) {
        marked_->clear();
        mapUsable_ = false;
    }
    return *marked_;
}

// Only a data page of the owner takes the row; any other page a damaged map marks is passed
// over and left as the map has it. A page of the owner without room leaves the map.
std::optional<std::uint32_t> FreeSpacePages::tryPage(std::uint32_t page,
                                                     std::span<const std::uint8_t> row,
                                                     std::uint16_t flags) {
    if (page >= pages_.pageCount()) {
        marked().erase(page);
        return std::nullopt;
    }
    auto bytes = pages_.page(page);
    if (bytes[0] != static_cast<std::uint8_t>(PageType::Data) ||
        get32(bytes.data() + pages_.format().dataTableOffset) != owner_) {
        marked().erase(page);
        return std::nullopt;
    }
    DataPageEditor editor(pages_.pageForChange(page), pages_.format());
    if (auto slot = editor.addRow(row, flags))
        return DataPage::rowId(page, *slot);
    marked().erase(page);
    if (mapRow_ != 0 && mapUsable_)
        unmarkInUsageMap(pages_, mapRow_, page);
    return std::nullopt;
}

std::optional<std::uint32_t> FreeSpacePages::addRow(std::span<const std::uint8_t> row,
                                                    std::uint16_t flags) {
    if (last_ != 0)
        if (auto placed = tryPage(last_, row, flags))
            return placed;
    std::set<std::uint32_t>& candidates = marked();
    for (auto at = candidates.begin(); at != candidates.end();) {
        std::uint32_t page = *at++;
        if (auto placed = tryPage(page, row, flags)) {
            last_ = page;
            return placed;
        }
    }
    return std::nullopt;
}

void FreeSpacePages::added(std::uint32_t page) {
    marked().insert(page);
    last_ = page;
}

// The map is a guide to where room is: when it cannot note the page, the row is deleted all
// the same.
void FreeSpacePages::gainedRoom(std::uint32_t page) {
    if (!marked().insert(page).second || mapRow_ == 0 || !mapUsable_)
        return;
    try {
        markInUsageMap(pages_, mapRow_, page);
    } catch (const FormatError&) {
        mapUsable_ = false;
    }
}

} // namespace mdbengine::file
