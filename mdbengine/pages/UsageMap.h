#pragma once

// A table's map of pages: a row holding either a bitmap of pages from a start page on
// (inline) or a list of map pages, each a bitmap of its share of the file (reference).

#include <cstdint>
#include <vector>

namespace mdbengine::file {

class PageStore;

// The pages a map marks, in ascending order. Throws FormatError when the map cannot be read
// or, unless `beyondEnd` allows it (the map of free pages marks those not yet in the file),
// marks a page beyond the end of the file.
std::vector<std::uint32_t> readUsageMap(PageStore& pages, std::uint32_t mapRow,
                                        bool beyondEnd = false);

// Marks `page` in a table's map. An inline map whose range does not reach the page becomes a
// reference map in the same row. Throws FormatError when the map cannot hold the page.
void markInUsageMap(PageStore& pages, std::uint32_t mapRow, std::uint32_t page);

// Clears `page` in a table's map; a page the map does not reach is not in it.
void unmarkInUsageMap(PageStore& pages, std::uint32_t mapRow, std::uint32_t page);

// A new page at the end of the file, taken out of the database's map of free pages (row 0
// of page 1, whose set bits are the pages free for use).
std::uint32_t allocatePage(PageStore& pages);

// A page no longer used: cleared and marked free in the database's map. reusePage takes such
// a page back into use.
void releasePage(PageStore& pages, std::uint32_t page);
void reusePage(PageStore& pages, std::uint32_t page);

// Where the database keeps its map of free pages.
inline constexpr std::uint32_t freePagesMapRow = 1u << 8;

} // namespace mdbengine::file
