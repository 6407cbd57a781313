#pragma once

// Where new rows of one owner (a table, or a column's long values) go: the pages its map of
// pages with free space marks, as Access keeps it. A page that cannot take a row leaves the
// map; a page that gives rows up joins it again; a new page is made only when no marked page
// has room. The last page a row went to is tried first, so that rows added one after
// another fill it before any other is looked at.

#include <cstdint>
#include <optional>
#include <set>
#include <span>

namespace mdbengine::file {

class PageStore;

class FreeSpacePages {
public:
    // `mapRow` is the row of the map (0: the owner keeps none); `owner` what a data page of
    // the owner holds in its owner field.
    FreeSpacePages(PageStore& pages, std::uint32_t mapRow, std::uint32_t owner);

    // The row added to a page with room: its row id; nothing when no page has room.
    std::optional<std::uint32_t> addRow(std::span<const std::uint8_t> row, std::uint16_t flags);
    // A new page of the owner, already in its maps, that rows go to from now on.
    void added(std::uint32_t page);
    // A page of the owner that gave a row up.
    void gainedRoom(std::uint32_t page);

private:
    std::set<std::uint32_t>& marked();
    std::optional<std::uint32_t> tryPage(std::uint32_t page, std::span<const std::uint8_t> row,
                                         std::uint16_t flags);

    PageStore& pages_;
    std::uint32_t mapRow_;
    std::uint32_t owner_;
    std::uint32_t last_ = 0;
    std::optional<std::set<std::uint32_t>> marked_; // read from the map when first needed
    bool mapUsable_ = true;                         // false once it could not be read
};

} // namespace mdbengine::file
