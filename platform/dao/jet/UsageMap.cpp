#include "platform/dao/jet/UsageMap.h"

#include "platform/dao/jet/ByteOrder.h"
#include "platform/dao/jet/DataPage.h"
#include "platform/dao/jet/FormatError.h"
#include "platform/dao/jet/PageStore.h"

#include <span>

namespace platform::dao::jet {

namespace {

constexpr std::uint8_t inlineMap = 0x00;
constexpr std::uint8_t referenceMap = 0x01;

void addMarkedPages(std::span<const std::uint8_t> bitmap, std::uint64_t firstPage,
                    std::uint32_t pageCount, std::vector<std::uint32_t>& pages) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        if (bitmap[i] == 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if ((bitmap[i] & (1u << bit)) == 0)
                continue;
            std::uint64_t page = firstPage + i * 8 + static_cast<unsigned>(bit);
            if (page >= pageCount)
                throw FormatError("a usage map marks a page beyond the end of the file");
            pages.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

} // namespace

std::vector<std::uint32_t> readUsageMap(PageStore& pages, std::uint32_t mapRow) {
    DataPage holder(pages.page(DataPage::pageOf(mapRow)), pages.format());
    std::span<const std::uint8_t> map = holder.row(DataPage::slotOf(mapRow));
    if (map.empty())
        throw FormatError("a usage map is empty");

    std::vector<std::uint32_t> marked;
    if (map[0] == inlineMap) {
        if (map.size() < 5)
            throw FormatError("a usage map is too short");
        addMarkedPages(map.subspan(5), get32(map.data() + 1), pages.pageCount(), marked);
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
                       pages.pageCount(), marked);
    }
    return marked;
}

} // namespace platform::dao::jet
