#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <vector>

namespace quillan {

// A working copy of the ZIP groups, sort groups and containers for the passes that split
// groups and insert containers. Records become nodes with fixed numbers, linked in table
// order, and every link (a ZIP group's owner, a sort group's container) names a node: a
// split or an inserted container then costs no renumbering of the records after it.
// store() writes the tables back in their order and renumbers every link once. On loading,
// node n is record n.
class GroupModel {
public:
    // After the last node in table order; it also stands before the first.
    static constexpr int32_t End = -1;

    struct GroupNode : SortGroup {
        std::vector<int32_t> zips; // the ZIP groups it owns, in table order
    };

    explicit GroupModel(PresortContext& ctx);

    // Writes the tables back. With dropEmptyContainers a tray or sack that holds no piece
    // and no group is left out and the ones after it move up.
    void store(bool dropEmptyContainers);

    std::vector<ZipGroup> zips;
    std::vector<GroupNode> groups;
    std::vector<Container> containers;

    // Node numbers in table order.
    std::vector<int32_t> groupOrder() const;
    std::vector<int32_t> containerOrder() const;
    // The node after n in table order (the first after End), End after the last.
    int32_t nextGroup(int32_t n) const { return nextGroup_[slot(n)]; }
    int32_t nextContainer(int32_t n) const { return nextContainer_[slot(n)]; }

    // A new sort group directly after s, with p of s's pieces, its kind, key and mark, in
    // container c. Whole ZIP groups of s move to it in table order while they fit the pieces
    // still to move; the rest is cut off the largest remaining ZIP group of s. Returns it.
    int32_t splitSortGroup(int32_t s, int32_t p, int32_t c);
    // An empty container directly after j with j's destination, kind, level and entry.
    // Returns it.
    int32_t insertContainerAfter(int32_t j);
    // Cuts m pieces off ZIP group z into a new ZIP group directly after it, owned by
    // `owner` (the owners' lists of ZIP groups are the caller's to keep). In-county pieces
    // stay with z as far as they fit. Returns the new node.
    int32_t cutZipGroup(int32_t z, int32_t m, int32_t owner);
    // A new sort group directly after s. Returns it.
    int32_t insertGroupAfter(int32_t s, GroupNode group);

private:
    // Where the link after node n (End: the first node) is kept.
    static size_t slot(int32_t n) { return static_cast<size_t>(n + 1); }
    static std::vector<int32_t> chain(size_t count);
    static void linkAfter(std::vector<int32_t>& next, int32_t after, int32_t node);
    static std::vector<int32_t> walk(const std::vector<int32_t>& next);
    int32_t largestZipIndex(const std::vector<int32_t>& list) const;

    PresortContext& ctx_;
    std::vector<int32_t> nextZip_, nextGroup_, nextContainer_;
};

} // namespace quillan
