#pragma once

// A table's map of pages: a row holding either a bitmap of pages from a start page on
// (inline) or a list of map pages, each a bitmap of its share of the file (reference).

#include <cstdint>
#include <vector>

namespace platform::dao::jet {

class PageStore;

// The pages a map marks, in ascending order. Throws FormatError when the map cannot be read
// or marks a page beyond the end of the file.
std::vector<std::uint32_t> readUsageMap(PageStore& pages, std::uint32_t mapRow);

} // namespace platform::dao::jet
