#include "mdbengine/pages/UsageMap.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"

#include <algorithm>
#include <span>
#include <string>

namespace mdbengine::file {

namespace {

constexpr std::uint8_t inlineMap = 0x00;
constexpr std::uint8_t referenceMap = 0x01;

void addMarkedPages(std::span<const std::uint8_t> bitmap, std::uint64_t firstPage,
                    std::uint32_t pageCount, bool beyondEnd, std::vector<std::uint32_t>& pages) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        if (bitmap[i] == 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if ((bitmap[i] & (1u << bit)) == 0)
                continue;
            std::uint64_t page = firstPage + i * 8 + static_cast<unsigned>(bit);
            if (page >= pageCount && beyondEnd)
                return;
            if (page >= pageCount)
                throw FormatError("a usage map marks a page beyond the end of the file");
            pages.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

} // namespace

std::vector<std::uint32_t> readUsageMap(PageStore& pages, std::uint32_t mapRow, bool beyondEnd) {
    DataPage holder(pages.page(DataPage::pageOf(mapRow)), pages.format());
    std::span<const std::uint8_t> map = holder.row(DataPage::slotOf(mapRow));
    if (map.empty())
        throw FormatError("a usage map is empty");

    std::vector<std::uint32_t> marked;
    if (map[0] == inlineMap) {
        if (map.size() < 5)
            throw FormatError("a usage map is too short");
        addMarkedPages(map.subspan(5), get32(map.data() + 1), pages.pageCount(), beyondEnd, marked);
        return marked;
    }
    if (map[0] != referenceMap)
        throw FormatError("a usage map has an unknown type");
    std::uint32_t perMapPage = pages.format().usageMapPagesPerMapPage();
    for (std::size_t i = 0; (1 + 4 * i + 4) <= map.size(); ++i) {
        std::uint32_t mapPage = get32(map.data() + 1 + 4 * i);
        if (mapPage == 0)
            continue;
        auto bitmapPage = pages.page(mapPage);
        if (bitmapPage[0] != static_cast<std::uint8_t>(PageType::UsageMap))
            throw FormatError("a usage map refers to a page that is not a map page");
        addMarkedPages(bitmapPage.subspan(4), static_cast<std::uint64_t>(i) * perMapPage,
                       pages.pageCount(), beyondEnd, marked);
    }
    return marked;
}

namespace {

std::span<std::uint8_t> mapForChange(PageStore& pages, std::uint32_t mapRow) {
    auto page = pages.pageForChange(DataPage::pageOf(mapRow));
    DataPage view(page, pages.format());
    auto row = view.row(DataPage::slotOf(mapRow));
    if (row.empty())
        throw FormatError("a usage map is empty");
    return page.subspan(static_cast<std::size_t>(row.data() - page.data()), row.size());
}

void setBit(std::uint8_t* bitmap, std::uint64_t bit, bool on) {
    auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
    if (on)
        bitmap[bit / 8] |= mask;
    else
        bitmap[bit / 8] &= static_cast<std::uint8_t>(~mask);
}

void initialiseMapPage(std::span<std::uint8_t> page) {
    std::fill(page.begin(), page.end(), 0);
    page[0] = static_cast<std::uint8_t>(PageType::UsageMap);
    page[1] = 0x01;
}

// Sets or clears `page` in a reference map, making its map page when `create` allows.
void markInReference(PageStore& pages, std::span<std::uint8_t> map, std::uint32_t page, bool on,
                     bool create) {
    std::uint32_t perMapPage = pages.format().usageMapPagesPerMapPage();
    std::size_t entry = page / perMapPage;
    if (1 + 4 * entry + 4 > map.size()) {
        if (!create)
            return;
        throw FormatError("a usage map cannot reach page " + std::to_string(page));
    }
    std::uint32_t mapPage = get32(map.data() + 1 + 4 * entry);
    if (mapPage == 0) {
        if (!create)
            return;
        mapPage = allocatePage(pages);
        initialiseMapPage(pages.pageForChange(mapPage));
        put32(map.data() + 1 + 4 * entry, mapPage);
    }
    auto bitmap = pages.pageForChange(mapPage);
    if (bitmap[0] != static_cast<std::uint8_t>(PageType::UsageMap))
        throw FormatError("a usage map refers to a page that is not a map page");
    setBit(bitmap.data() + 4, page % perMapPage, on);
}

} // namespace

void markInUsageMap(PageStore& pages, std::uint32_t mapRow, std::uint32_t page) {
    auto map = mapForChange(pages, mapRow);
    if (map[0] == referenceMap) {
        markInReference(pages, map, page, true, true);
        return;
    }
    if (map[0] != inlineMap || map.size() < 5)
        throw FormatError("a usage map has an unknown type");
    std::uint32_t first = get32(map.data() + 1);
    std::uint64_t bits = static_cast<std::uint64_t>(map.size() - 5) * 8;
    if (page >= first && page - first < bits) {
        setBit(map.data() + 5, page - first, true);
        return;
    }
    // The inline map's range has run out: the same row becomes a list of map pages, each
    // the bitmap of its share of the file.
    std::vector<std::uint32_t> marked = readUsageMap(pages, mapRow);
    marked.push_back(page);
    map = mapForChange(pages, mapRow);
    std::fill(map.begin(), map.end(), 0);
    map[0] = referenceMap;
    for (std::uint32_t number : marked)
        markInReference(pages, mapForChange(pages, mapRow), number, true, true);
}

namespace {

// Sets or clears a page in a map that is not to grow: a page beyond an inline map's range or
// without a map page is left as it is.
void setWithinMap(PageStore& pages, std::uint32_t mapRow, std::uint32_t page, bool on) {
    auto map = mapForChange(pages, mapRow);
    if (map[0] == inlineMap && map.size() >= 5) {
        std::uint32_t first = get32(map.data() + 1);
        std::uint64_t bits = static_cast<std::uint64_t>(map.size() - 5) * 8;
        if (page >= first && page - first < bits)
            setBit(map.data() + 5, page - first, on);
    } else if (map[0] == referenceMap) {
        markInReference(pages, map, page, on, false);
    }
}

} // namespace

void unmarkInUsageMap(PageStore& pages, std::uint32_t mapRow, std::uint32_t page) {
    setWithinMap(pages, mapRow, page, false);
}

std::uint32_t allocatePage(PageStore& pages) {
    std::uint32_t page = pages.appendPage();
    setWithinMap(pages, freePagesMapRow, page, false);
    return page;
}

void releasePage(PageStore& pages, std::uint32_t page) {
    auto bytes = pages.pageForChange(page);
    std::fill(bytes.begin(), bytes.end(), 0);
    setWithinMap(pages, freePagesMapRow, page, true);
}

void reusePage(PageStore& pages, std::uint32_t page) {
    setWithinMap(pages, freePagesMapRow, page, false);
}

} // namespace mdbengine::file
