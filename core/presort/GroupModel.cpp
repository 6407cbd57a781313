#include "core/presort/GroupModel.h"

#include <algorithm>

namespace quillan {

std::vector<int32_t> GroupModel::chain(size_t count) {
    std::vector<int32_t> next(count + 1, End);
    for (size_t n = 0; n < count; ++n)
        next[n] = static_cast<int32_t>(n);
    return next;
}

void GroupModel::linkAfter(std::vector<int32_t>& next, int32_t after, int32_t node) {
    next.resize(std::max(next.size(), slot(node) + 1), End);
    next[slot(node)] = next[slot(after)];
    next[slot(after)] = node;
}

std::vector<int32_t> GroupModel::walk(const std::vector<int32_t>& next) {
    std::vector<int32_t> order;
    for (int32_t n = next[slot(End)]; n != End; n = next[slot(n)])
        order.push_back(n);
    return order;
}

GroupModel::GroupModel(PresortContext& ctx)
    : zips(ctx.tables.zipGroups), containers(ctx.tables.containers), ctx_(ctx) {
    for (const SortGroup& group : ctx.tables.sortGroups)
        groups.push_back({group, {}});
    for (size_t z = 0; z < zips.size(); ++z) {
        int32_t owner = zips[z].owner;
        if (zips[z].placed() && static_cast<size_t>(owner) < groups.size())
            groups[static_cast<size_t>(owner)].zips.push_back(static_cast<int32_t>(z));
    }
    nextZip_ = chain(zips.size());
    nextGroup_ = chain(groups.size());
    nextContainer_ = chain(containers.size());
}

std::vector<int32_t> GroupModel::groupOrder() const {
    return walk(nextGroup_);
}

std::vector<int32_t> GroupModel::containerOrder() const {
    return walk(nextContainer_);
}

int32_t GroupModel::cutZipGroup(int32_t z, int32_t m, int32_t owner) {
    ZipGroup& from = zips[static_cast<size_t>(z)];
    int32_t stays = from.pieces - m;
    ZipGroup cut{from.zip, m, from.inCounty > stays ? from.inCounty - stays : 0, owner};
    from.pieces = stays;
    from.inCounty = std::min(from.inCounty, stays);
    int32_t node = static_cast<int32_t>(zips.size());
    zips.push_back(cut);
    linkAfter(nextZip_, z, node);
    return node;
}

int32_t GroupModel::largestZipIndex(const std::vector<int32_t>& list) const {
    int32_t best = -1;
    for (size_t i = 0; i < list.size(); ++i) {
        const ZipGroup& zip = zips[static_cast<size_t>(list[i])];
        if (best < 0 ||
            zip.pieces > zips[static_cast<size_t>(list[static_cast<size_t>(best)])].pieces)
            best = static_cast<int32_t>(i);
    }
    return best;
}

int32_t GroupModel::splitSortGroup(int32_t s, int32_t p, int32_t c) {
    int32_t node = static_cast<int32_t>(groups.size());
    {
        GroupNode split{groups[static_cast<size_t>(s)], {}};
        split.pieces = p;
        split.container = c;
        groups.push_back(std::move(split));
    }
    linkAfter(nextGroup_, s, node);
    GroupNode& from = groups[static_cast<size_t>(s)];
    from.pieces -= p;
    std::vector<int32_t> kept, moved, movedBefore;
    int32_t movedPieces = 0;
    for (int32_t z : from.zips) {
        ZipGroup& zip = zips[static_cast<size_t>(z)];
        if (movedPieces < p && zip.pieces <= p - movedPieces) {
            zip.owner = node;
            moved.push_back(z);
            movedPieces += zip.pieces;
        } else {
            kept.push_back(z);
            movedBefore.push_back(static_cast<int32_t>(moved.size()));
        }
    }
    if (movedPieces < p) {
        int32_t index = largestZipIndex(kept);
        if (index >= 0) {
            int32_t cut = cutZipGroup(kept[static_cast<size_t>(index)], p - movedPieces, node);
            moved.insert(moved.begin() + movedBefore[static_cast<size_t>(index)], cut);
        }
    }
    groups[static_cast<size_t>(s)].zips = std::move(kept);
    groups[static_cast<size_t>(node)].zips = std::move(moved);
    return node;
}

int32_t GroupModel::insertGroupAfter(int32_t s, GroupNode group) {
    int32_t node = static_cast<int32_t>(groups.size());
    groups.push_back(std::move(group));
    linkAfter(nextGroup_, s, node);
    return node;
}

int32_t GroupModel::insertContainerAfter(int32_t j) {
    int32_t node = static_cast<int32_t>(containers.size());
    Container empty = containers[static_cast<size_t>(j)];
    empty.pieces = 0;
    containers.push_back(std::move(empty));
    linkAfter(nextContainer_, j, node);
    return node;
}

void GroupModel::store(bool dropEmptyContainers) {
    WorkTables& t = ctx_.tables;
    const std::vector<int32_t> groupOrderNow = groupOrder();
    std::vector<bool> holdsGroups(containers.size(), false);
    for (int32_t g : groupOrderNow) {
        int32_t k = groups[static_cast<size_t>(g)].container;
        if (k >= 0 && static_cast<size_t>(k) < containers.size())
            holdsGroups[static_cast<size_t>(k)] = true;
    }

    std::vector<int32_t> containerIndex(containers.size(), SortGroup::NoContainer);
    t.containers.clear();
    for (int32_t k : containerOrder()) {
        const Container& c = containers[static_cast<size_t>(k)];
        if (dropEmptyContainers && c.pieces == 0 && !holdsGroups[static_cast<size_t>(k)])
            continue;
        containerIndex[static_cast<size_t>(k)] = static_cast<int32_t>(t.containers.size());
        t.containers.push_back(c);
    }

    // A link past the nodes is a container of the level being built: LevelContainers
    // renumbers it.
    std::vector<int32_t> groupIndex(groups.size(), ZipGroup::Unplaced);
    t.sortGroups.clear();
    for (int32_t g : groupOrderNow) {
        SortGroup group = groups[static_cast<size_t>(g)];
        if (group.contained() && static_cast<size_t>(group.container) < containers.size())
            group.container = containerIndex[static_cast<size_t>(group.container)];
        groupIndex[static_cast<size_t>(g)] = static_cast<int32_t>(t.sortGroups.size());
        t.sortGroups.push_back(group);
    }

    t.zipGroups.clear();
    for (int32_t n : walk(nextZip_)) {
        ZipGroup zip = zips[static_cast<size_t>(n)];
        if (zip.placed() && static_cast<size_t>(zip.owner) < groups.size())
            zip.owner = groupIndex[static_cast<size_t>(zip.owner)];
        t.zipGroups.push_back(zip);
    }
}

} // namespace quillan
