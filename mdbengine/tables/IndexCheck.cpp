#include "mdbengine/tables/IndexCheck.h"

#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/PageStore.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/DeletedRow.h"
#include "mdbengine/tables/IndexKey.h"
#include "mdbengine/tables/IndexPage.h"
#include "mdbengine/tables/TableDefinition.h"
#include "mdbengine/tables/TableRows.h"
#include "mdbengine/tables/UnencodableKey.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace mdbengine::file {

namespace {

constexpr std::size_t freeSpaceOffset = 2;

std::string pageName(std::uint32_t page) {
    return "page " + std::to_string(page);
}

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> span) {
    return {span.begin(), span.end()};
}

class IndexChecker {
public:
    IndexChecker(PageStore& pages, const TableDefinition& table, std::size_t number,
                 const std::set<std::uint32_t>& liveRows, IndexReport& report)
        : pages_(pages), table_(table), index_(table.storedIndexes[number]), live_(liveRows),
          report_(report), prefix_("index " + std::to_string(number) + ": ") {}

    void run() {
        try {
            readLevels();
        } catch (const FormatError& e) {
            problem(e.what());
            return;
        }
        report_.deepest = std::max(report_.deepest, levels_.size());
        checkSeparators();
        checkLinks();
        checkUsageMap();
        checkEntries();
    }

private:
    void problem(const std::string& text) { report_.problems.push_back(prefix_ + text); }

    const IndexNode& node(std::uint32_t page) { return nodes_.at(page); }

    // Every page of the tree, level by level, each level left to right.
    void readLevels() {
        std::vector<std::uint32_t> level{index_.rootPage};
        while (!level.empty()) {
            std::vector<std::uint32_t> below;
            bool leaves = false;
            for (std::uint32_t page : level) {
                if (!seen_.insert(page).second)
                    throw FormatError(pageName(page) + " is reached twice");
                auto bytes = pages_.page(page);
                IndexNode read = readIndexPage(bytes, pages_.format());
                checkStoredForm(page, bytes, read);
                if (page != level.front() && read.leaf != leaves)
                    problem(pageName(page) + " is not at the depth of the other leaves");
                leaves = read.leaf;
                if (!read.leaf) {
                    for (const IndexEntry& entry : read.entries)
                        below.push_back(entryChild(entry));
                    if (read.tail != 0)
                        below.push_back(read.tail);
                    else if (!read.entries.empty())
                        problem(pageName(page) + " has no last child");
                }
                nodes_.emplace(page, std::move(read));
            }
            levels_.push_back(level);
            level = std::move(below);
        }
    }

    // Access pages may claim less free space than they have (it gives up the room of
    // deleted entries later), never more; the rest is as the page writer stores it.
    void checkStoredForm(std::uint32_t page, std::span<const std::uint8_t> bytes,
                         const IndexNode& read) {
        std::vector<std::uint8_t> written(bytes.size());
        writeIndexPage(read, pages_.format(), table_.page, written, read.prefix);
        std::size_t used = pages_.format().indexEntriesOffset + indexPageCapacity(pages_.format()) -
                           get16(written.data() + freeSpaceOffset);
        if (get16(bytes.data() + freeSpaceOffset) > get16(written.data() + freeSpaceOffset))
            problem(pageName(page) + " claims more free space than it has");
        std::copy_n(bytes.begin() + freeSpaceOffset, 2, written.begin() + freeSpaceOffset);
        auto differs = std::mismatch(
            written.begin(), written.begin() + static_cast<std::ptrdiff_t>(used), bytes.begin());
        if (differs.first != written.begin() + static_cast<std::ptrdiff_t>(used))
            problem(pageName(page) + " differs at byte " +
                    std::to_string(differs.first - written.begin()) +
                    " from the page writer's form of its entries");
    }

    std::vector<std::uint8_t> lastEntryBelow(std::uint32_t page) {
        const IndexNode* at = &node(page);
        while (!at->leaf) {
            std::uint32_t child = at->tail              ? at->tail
                                  : at->entries.empty() ? 0
                                                        : entryChild(at->entries.back());
            if (child == 0)
                return {};
            at = &node(child);
        }
        return at->entries.empty() ? std::vector<std::uint8_t>()
                                   : bytesOf(keyAndRow(at->entries.back(), true));
    }

    void checkSeparators() {
        for (const auto& [page, at] : nodes_) {
            if (at.leaf)
                continue;
            for (const IndexEntry& entry : at.entries)
                if (bytesOf(keyAndRow(entry, false)) != lastEntryBelow(entryChild(entry)))
                    problem(pageName(page) + " names a child by an entry that is not its last");
        }
    }

    void checkLinks() {
        for (const std::vector<std::uint32_t>& level : levels_) {
            for (std::size_t i = 0; i < level.size(); ++i) {
                std::uint32_t before = i == 0 ? 0 : level[i - 1];
                std::uint32_t after = i + 1 == level.size() ? 0 : level[i + 1];
                const IndexNode& at = node(level[i]);
                if (at.prev != before || at.next != after)
                    problem(pageName(level[i]) + " is linked to " + std::to_string(at.prev) +
                            " and " + std::to_string(at.next) + ", not " + std::to_string(before) +
                            " and " + std::to_string(after));
            }
        }
    }

    void checkUsageMap() {
        try {
            auto marked = readUsageMap(pages_, index_.usageMap);
            if (std::set<std::uint32_t>(marked.begin(), marked.end()) != seen_)
                problem("the usage map does not mark exactly the index's pages");
        } catch (const FormatError& e) {
            problem(std::string("the usage map cannot be read: ") + e.what());
        }
    }

    std::optional<IndexKey> keyOf(std::uint32_t rowId) {
        try {
            StoredRow stored = finder_.find(rowId);
            RowView row = crackRow(stored.bytes, pages_.format(), table_.varColumnCount > 0);
            return indexKey(table_, index_, KeyedRow{row, pages_});
        } catch (const UnencodableKey&) {
            return std::nullopt;
        }
    }

    void checkEntries() {
        std::map<std::uint32_t, std::size_t> entriesOfRow;
        std::span<const std::uint8_t> previous;
        std::optional<IndexKey> previousKey;
        for (std::uint32_t page : levels_.back()) {
            for (const IndexEntry& entry : node(page).entries) {
                ++report_.entries;
                auto whole = keyAndRow(entry, true);
                auto key = whole.first(whole.size() - rowPointerSize);
                if (!previous.empty() &&
                    !std::lexicographical_compare(previous.begin(), previous.end(), whole.begin(),
                                                  whole.end()))
                    problem(pageName(page) + " has an entry out of key order");
                std::uint32_t rowId = entryRowId(entry, true);
                std::optional<IndexKey> computed;
                if (!live_.count(rowId)) {
                    problem(pageName(page) + " has an entry for row " + std::to_string(rowId) +
                            ", which is not a live row");
                } else {
                    ++entriesOfRow[rowId];
                    computed = keyOf(rowId);
                    if (computed) {
                        ++report_.keysCompared;
                        if (!std::equal(key.begin(), key.end(), computed->bytes.begin(),
                                        computed->bytes.end()))
                            problem(pageName(page) + " keys row " + std::to_string(rowId) +
                                    " otherwise than its values do");
                    }
                }
                checkUnique(previous, whole, computed, previousKey);
                previous = whole;
                previousKey = std::move(computed);
            }
        }
        for (std::uint32_t rowId : live_) {
            std::size_t count = entriesOfRow.count(rowId) ? entriesOfRow[rowId] : 0;
            std::size_t expected = 1;
            if (count == 0 && index_.ignoreNulls) {
                std::optional<IndexKey> key = keyOf(rowId);
                expected = key && key->allNull ? 0 : 1;
            }
            if (count != expected)
                problem("row " + std::to_string(rowId) + " has " + std::to_string(count) +
                        " entries, not " + std::to_string(expected));
        }
    }

    // Two neighbours with the same key (their row pointers aside) in a unique index, unless
    // a key column is Null.
    void checkUnique(std::span<const std::uint8_t> previous, std::span<const std::uint8_t> whole,
                     const std::optional<IndexKey>& key, const std::optional<IndexKey>& before) {
        if (!index_.unique || previous.empty() || previous.size() != whole.size())
            return;
        std::size_t keyLength = whole.size() - rowPointerSize;
        if (!std::equal(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keyLength),
                        previous.begin()))
            return;
        if ((key && key->anyNull) || (before && before->anyNull))
            return;
        problem("a unique index holds a key twice");
    }

    PageStore& pages_;
    const TableDefinition& table_;
    const StoredIndex& index_;
    const std::set<std::uint32_t>& live_;
    IndexReport& report_;
    std::string prefix_;
    RowFinder finder_{pages_, table_.page};
    std::map<std::uint32_t, IndexNode> nodes_;
    std::set<std::uint32_t> seen_;
    std::vector<std::vector<std::uint32_t>> levels_;
};

} // namespace

IndexReport checkIndexes(PageStore& pages, const TableDefinition& table) {
    IndexReport report;
    std::set<std::uint32_t> live;
    try {
        auto rows = liveRows(pages, table);
        live.insert(rows.begin(), rows.end());
    } catch (const FormatError& e) {
        report.problems.push_back(std::string("the rows cannot be read: ") + e.what());
        return report;
    }
    for (std::size_t i = 0; i < table.storedIndexes.size(); ++i) {
        try {
            IndexChecker(pages, table, i, live, report).run();
        } catch (const FormatError& e) {
            report.problems.push_back("index " + std::to_string(i) + ": " + e.what());
        } catch (const DeletedRow&) {
            report.problems.push_back("index " + std::to_string(i) + ": a row is deleted");
        }
    }
    return report;
}

} // namespace mdbengine::file
