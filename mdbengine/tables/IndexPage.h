#pragma once

// One page of an index tree. Leaf pages (type 0x04) hold an entry per row: the row's key and
// its row pointer (page, three bytes, then row, most significant first). Intermediate pages
// (0x03) hold an entry per child but the last: the last entry of the child's subtree and the
// child's page (four bytes, most significant first); the last child is the page's tail.
// Pages of one level are linked both ways. Entries follow each other from a fixed offset,
// all but the first without the prefix they share with it, and a bitmap marks where each
// ends.

#include "mdbengine/pages/JetFormat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mdbengine::file {

using IndexEntry = std::vector<std::uint8_t>;

struct IndexNode {
    bool leaf = true;
    std::uint32_t prev = 0;
    std::uint32_t next = 0;
    std::uint32_t tail = 0; // intermediate pages: the last child
    std::vector<IndexEntry> entries;
    std::size_t prefix = 0; // as read: the bytes the entries share on the page
};

inline constexpr std::size_t rowPointerSize = 4;
inline constexpr std::size_t childPointerSize = 4;

// Throws FormatError when the page is no index page or its entries do not fit it.
IndexNode readIndexPage(std::span<const std::uint8_t> page, const JetFormat& format);

// The whole page: header, bitmap, entries, the rest zero. The entries share the longest
// prefix they have, or `prefix` when given (Access does not always share one). Throws
// FormatError when the entries do not fit or do not share that prefix.
void writeIndexPage(const IndexNode& node, const JetFormat& format, std::uint32_t tablePage,
                    std::span<std::uint8_t> page, std::optional<std::size_t> prefix = std::nullopt);

// Bytes the entries take on a page sharing the longest prefix they have, and the most they
// may take.
std::size_t indexEntryBytes(const std::vector<IndexEntry>& entries, const JetFormat& format);
std::size_t indexPageCapacity(const JetFormat& format);

// An entry without its child pointer (intermediate pages) is a key and a row pointer.
std::span<const std::uint8_t> keyAndRow(const IndexEntry& entry, bool leaf);
std::uint32_t entryRowId(const IndexEntry& entry, bool leaf);
std::uint32_t entryChild(const IndexEntry& entry);
void appendRowPointer(std::uint32_t rowId, IndexEntry& entry);
void appendChildPointer(std::uint32_t page, IndexEntry& entry);

} // namespace mdbengine::file
