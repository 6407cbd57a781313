#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// A working copy of the ZIP-group, sort-group and container tables for the passes that
// split groups and insert containers. Rows become nodes with fixed numbers, linked in
// table order, and every link (a ZIP group's owner, a sort group's container) names a
// node: a split or an inserted container then costs no renumbering of the rows after it.
// store() writes the tables back in their order and renumbers every link once. On loading,
// node n is row n.
class GroupModel {
public:
    struct ZipNode {
        int32_t zip = 0;
        int32_t pieces = 0;
        int32_t inCounty = 0;
        int32_t owner = 0; // a group node, or 0 (not placed) / -1 (below a minimum)
    };
    struct GroupNode {
        int32_t flag = 0;
        int32_t pieces = 0;
        GroupKind kind = GroupKind::Other;
        std::string label;
        int32_t container = 0;     // a container node, or 0
        std::vector<int32_t> zips; // the ZIP groups it owns, in table order
    };
    struct ContainerNode {
        int32_t pieces = 0;
        std::string label;
        ContainerType type;
    };

    explicit GroupModel(PresortContext& ctx);

    // Writes the tables and their counters back. With dropEmptyContainers a tray or sack
    // that holds no piece and no group is left out and the ones after it move up.
    void store(bool dropEmptyContainers);

    std::vector<ZipNode> zips;
    std::vector<GroupNode> groups;
    std::vector<ContainerNode> containers;

    // Node numbers in table order.
    std::vector<int32_t> groupOrder() const;
    std::vector<int32_t> containerOrder() const;
    // The node after n in table order, 0 after the last; 0 stands before the first.
    int32_t nextGroup(int32_t n) const { return nextGroup_[static_cast<size_t>(n)]; }
    int32_t nextContainer(int32_t n) const { return nextContainer_[static_cast<size_t>(n)]; }

    // A new sort group directly after s, with p of s's pieces, its kind, label and flag, in
    // container c. Whole ZIP groups of s move to it in table order while they fit the pieces
    // still to move; the rest is cut off the largest remaining ZIP group of s. Returns it.
    int32_t splitSortGroup(int32_t s, int32_t p, int32_t c);
    // Cuts m pieces off the largest ZIP group of g (the first of equals) into a new ZIP
    // group directly after it, owned by `to`; in-county pieces stay as far as they fit.
    // Returns the new node, or 0 when g owns no ZIP group.
    int32_t splitZipGroup(int32_t g, int32_t to, int32_t m);
    // An empty container directly after j with j's label and type. Returns it.
    int32_t insertContainerAfter(int32_t j);
    // Cuts m pieces off ZIP group z into a new ZIP group directly after it, owned by
    // `owner` (the owners' lists of ZIP groups are the caller's to keep). In-county pieces
    // stay with z as far as they fit. Returns the new node.
    int32_t cutZipGroup(int32_t z, int32_t m, int32_t owner);
    // A new sort group directly after s. Returns it.
    int32_t insertGroupAfter(int32_t s, GroupNode group);

private:
    int32_t largestZipIndex(const std::vector<int32_t>& list) const;

    PresortContext& ctx_;
    std::vector<int32_t> nextZip_, nextGroup_, nextContainer_;
};

} // namespace quillan
