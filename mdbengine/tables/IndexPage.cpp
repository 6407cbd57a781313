#include "mdbengine/tables/IndexPage.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"

#include <algorithm>
#include <cstring>

namespace mdbengine::file {

namespace {

constexpr std::uint8_t pageMark = 0x01;

std::uint32_t getBigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void appendBigEndian32(std::uint32_t value, IndexEntry& entry) {
    for (int shift = 24; shift >= 0; shift -= 8)
        entry.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::size_t maxPrefix(const JetFormat& format) {
    return format.jet4 ? 0xFFFF : 0xFF;
}

// The prefix every entry shares with the first; none for a page of one entry.
std::size_t sharedPrefix(const std::vector<IndexEntry>& entries, const JetFormat& format) {
    if (entries.size() < 2)
        return 0;
    const IndexEntry& first = entries.front();
    std::size_t prefix = first.size() - 1;
    for (std::size_t i = 1; i < entries.size() && prefix > 0; ++i) {
        const IndexEntry& entry = entries[i];
        std::size_t limit = std::min(prefix, entry.size() - 1);
        prefix = static_cast<std::size_t>(
            std::mismatch(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(limit),
                          entry.begin())
                .first -
            first.begin());
    }
    return std::min(prefix, maxPrefix(format));
}

std::size_t maskBits(const JetFormat& format) {
    return (format.indexEntriesOffset - format.indexMaskOffset) * 8u;
}

} // namespace

std::size_t indexPageCapacity(const JetFormat& format) {
    return std::min<std::size_t>(format.pageSize - format.indexEntriesOffset, maskBits(format));
}

static std::size_t bytesWithPrefix(const std::vector<IndexEntry>& entries, std::size_t prefix) {
    std::size_t bytes = 0;
    for (const IndexEntry& entry : entries)
        bytes += entry.size() - prefix;
    return bytes + (entries.empty() ? 0 : prefix);
}

std::size_t indexEntryBytes(const std::vector<IndexEntry>& entries, const JetFormat& format) {
    return bytesWithPrefix(entries, sharedPrefix(entries, format));
}

IndexNode readIndexPage(std::span<const std::uint8_t> page, const JetFormat& format) {
    auto type = static_cast<PageType>(page[0]);
    if (type != PageType::IndexLeaf && type != PageType::IndexNode)
        throw FormatError("an index page was expected");
    IndexNode node;
    node.leaf = type == PageType::IndexLeaf;
    node.prev = get32(page.data() + format.indexPrevOffset);
    node.next = get32(page.data() + format.indexNextOffset);
    node.tail = get32(page.data() + format.indexTailOffset);
    std::size_t prefix = format.jet4 ? get16(page.data() + format.indexPrefixOffset)
                                     : page[format.indexPrefixOffset];
    node.prefix = prefix;
    std::size_t start = 0;
    std::size_t pointers = node.leaf ? rowPointerSize : rowPointerSize + childPointerSize;
    for (std::size_t bit = 1; bit < maskBits(format); ++bit) {
        if (!(page[format.indexMaskOffset + bit / 8] & (1u << (bit % 8))))
            continue;
        if (format.indexEntriesOffset + bit > page.size())
            throw FormatError("an index entry runs past its page");
        auto stored = page.subspan(format.indexEntriesOffset + start, bit - start);
        IndexEntry entry;
        if (!node.entries.empty()) {
            const IndexEntry& first = node.entries.front();
            if (prefix > first.size())
                throw FormatError("an index page's shared prefix is longer than its entries");
            entry.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(prefix));
        }
        entry.insert(entry.end(), stored.begin(), stored.end());
        if (entry.size() <= pointers)
            throw FormatError("an index entry is too short");
        node.entries.push_back(std::move(entry));
        start = bit;
    }
    return node;
}

void writeIndexPage(const IndexNode& node, const JetFormat& format, std::uint32_t tablePage,
                    std::span<std::uint8_t> page, std::optional<std::size_t> shared) {
    std::size_t longest = sharedPrefix(node.entries, format);
    std::size_t prefix = shared ? *shared : longest;
    std::size_t bytes = bytesWithPrefix(node.entries, prefix);
    if (prefix > longest && node.entries.size() > 1)
        throw FormatError("index entries do not share the prefix of their page");
    if (bytes > indexPageCapacity(format))
        throw FormatError("index entries do not fit their page");
    std::fill(page.begin(), page.end(), 0);
    page[0] = static_cast<std::uint8_t>(node.leaf ? PageType::IndexLeaf : PageType::IndexNode);
    page[1] = pageMark;
    put16(page.data() + 2, static_cast<std::uint32_t>(indexPageCapacity(format) - bytes));
    put32(page.data() + 4, tablePage);
    put32(page.data() + format.indexPrevOffset, node.prev);
    put32(page.data() + format.indexNextOffset, node.next);
    put32(page.data() + format.indexTailOffset, node.tail);
    if (format.jet4)
        put16(page.data() + format.indexPrefixOffset, static_cast<std::uint32_t>(prefix));
    else
        page[format.indexPrefixOffset] = static_cast<std::uint8_t>(prefix);
    page[format.indexIntermediateOffset] = node.leaf ? 0 : 1;
    std::size_t position = 0;
    for (std::size_t i = 0; i < node.entries.size(); ++i) {
        const IndexEntry& entry = node.entries[i];
        std::size_t skip = i == 0 ? 0 : prefix;
        std::memcpy(page.data() + format.indexEntriesOffset + position, entry.data() + skip,
                    entry.size() - skip);
        position += entry.size() - skip;
        page[format.indexMaskOffset + position / 8] |=
            static_cast<std::uint8_t>(1u << (position % 8));
    }
}

std::span<const std::uint8_t> keyAndRow(const IndexEntry& entry, bool leaf) {
    return std::span(entry).first(entry.size() - (leaf ? 0 : childPointerSize));
}

std::uint32_t entryRowId(const IndexEntry& entry, bool leaf) {
    auto part = keyAndRow(entry, leaf);
    return getBigEndian32(part.data() + part.size() - rowPointerSize);
}

std::uint32_t entryChild(const IndexEntry& entry) {
    return getBigEndian32(entry.data() + entry.size() - childPointerSize);
}

void appendRowPointer(std::uint32_t rowId, IndexEntry& entry) {
    appendBigEndian32(rowId, entry);
}

void appendChildPointer(std::uint32_t page, IndexEntry& entry) {
    appendBigEndian32(page, entry);
}

} // namespace mdbengine::file
