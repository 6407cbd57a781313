#pragma once

// One stored index kept in step with its table as rows come and go. The tree is a B-tree
// over whole entries (key and row pointer): an intermediate page names each child but the
// last by the child's last entry, the last child is its tail. A page that overflows splits
// in two (at the right edge of the index only its last entry moves, so that rows added in
// key order fill their pages); a page left under a quarter full merges with a neighbour
// under the same parent when the two fit in three quarters of a page; an empty page leaves
// the tree; a root left with one child takes the child's place. The root keeps its page,
// which the table definition names. New pages join the index's usage map and leave the
// database's map of free pages; pages given up go back.
//
// Pages are read once and kept decoded; flush() writes the changed ones. Throws FormatError
// when the pages do not form a tree.

#include "mdbengine/tables/IndexDefinition.h"
#include "mdbengine/tables/IndexPage.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

namespace mdbengine::file {

class PageStore;

class IndexTree {
public:
    IndexTree(PageStore& pages, std::uint32_t tablePage, const StoredIndex& index);

    // Reads every page of the tree and throws FormatError unless each is reached once from
    // the root and the pages of each level are linked both ways in tree order: a change
    // through a tree whose pointers loop would follow the loop or write it further.
    void checkShape();

    // Adds the entry of row `rowId` with `key`; nothing when it is there already.
    void insert(std::span<const std::uint8_t> key, std::uint32_t rowId);
    // Removes it; false when there is none.
    bool remove(std::span<const std::uint8_t> key, std::uint32_t rowId);
    // Removes the row's entry whatever its key, by a walk over the leaves; false when none.
    bool removeRow(std::uint32_t rowId);
    // Whether a row other than `except` has the key.
    bool holdsKey(std::span<const std::uint8_t> key, std::optional<std::uint32_t> except);

    void flush();

private:
    struct Step {
        std::uint32_t page;
        std::size_t slot; // the entry followed; the entry count for the tail
    };

    IndexNode& load(std::uint32_t page);
    IndexNode& change(std::uint32_t page);
    std::uint32_t newPage(bool leaf);
    void freePage(std::uint32_t page);

    std::uint32_t descend(std::span<const std::uint8_t> target, std::vector<Step>& path);
    // Where the entry of a key and row belongs: its leaf page, the path down to it, its place
    // in the leaf and whether the leaf holds it already.
    struct LeafPlace {
        IndexEntry entry;
        std::vector<Step> path;
        std::uint32_t page = 0;
        std::size_t slot = 0;
        bool found = false;
    };
    LeafPlace placeOf(std::span<const std::uint8_t> key, std::uint32_t rowId);
    std::uint32_t childAt(const IndexNode& node, std::size_t slot) const;
    IndexEntry lastEntryBelow(std::uint32_t page);
    IndexEntry separatorFor(std::uint32_t page);
    bool overflows(std::uint32_t page);

    void splitUp(std::uint32_t page, std::vector<Step>& path, bool appended);
    std::uint32_t split(std::uint32_t page, bool appended);
    void attach(const Step& parent, std::uint32_t left, std::uint32_t right);
    void splitRoot(bool appended);

    void rebalance(std::uint32_t page, std::vector<Step>& path);
    void detach(const Step& parent, std::uint32_t child);
    bool mergeWithNeighbour(std::uint32_t page, const Step& parent);
    bool mergeFits(std::uint32_t left, std::uint32_t right);
    void merge(std::uint32_t left, std::uint32_t right);
    void unlink(std::uint32_t page);
    void collapseRoot();
    void refreshSeparators(std::span<const std::uint8_t> target);

    PageStore& pages_;
    std::uint32_t tablePage_;
    std::uint32_t root_;
    std::uint32_t usageMap_;
    std::size_t capacity_;
    std::unordered_map<std::uint32_t, IndexNode> nodes_;
    std::set<std::uint32_t> dirty_;
    std::vector<std::uint32_t> released_;
};

} // namespace mdbengine::file
