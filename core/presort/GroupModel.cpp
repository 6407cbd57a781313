#include "core/presort/GroupModel.h"

#include "core/presort/PresortRules.h"

#include <algorithm>

namespace quillan {

namespace {

// Links nodes 0 (the head), 1, ..., count in a row.
std::vector<int32_t> chain(size_t count) {
    std::vector<int32_t> next(count + 1, 0);
    for (size_t n = 0; n < count; ++n)
        next[n] = static_cast<int32_t>(n + 1);
    return next;
}

void linkAfter(std::vector<int32_t>& next, int32_t after, int32_t node) {
    next.resize(std::max(next.size(), at(node) + 1), 0);
    next[at(node)] = next[at(after)];
    next[at(after)] = node;
}

std::vector<int32_t> walk(const std::vector<int32_t>& next) {
    std::vector<int32_t> order;
    for (int32_t n = next[0]; n != 0; n = next[at(n)])
        order.push_back(n);
    return order;
}

} // namespace

GroupModel::GroupModel(PresortContext& ctx) : ctx_(ctx) {
    const WorkTables& t = ctx.tables;
    const MailingCounters& c = ctx.counters;
    size_t zipCount = at(std::max(c.zipGroupCount, 0));
    size_t groupCount = at(std::max(c.sortGroupCount - 1, 0));
    size_t containerCount = at(std::max(c.containerCount - 1, 0));
    zips.resize(zipCount + 1);
    groups.resize(groupCount + 1);
    containers.resize(containerCount + 1);
    for (size_t g = 1; g <= groupCount; ++g)
        groups[g] = {.flag = t.sortGroupFlags[g],
                     .pieces = t.sortGroupPieces[g],
                     .kind = t.sortGroupKinds[g],
                     .label = t.sortGroupLabels[g],
                     .container = t.sortGroupContainer[g],
                     .zips = {}};
    for (size_t k = 1; k <= containerCount; ++k)
        containers[k] = {t.containerPieces[k], t.containerLabels[k], t.containerTypes[k]};
    for (size_t z = 1; z <= zipCount; ++z) {
        zips[z] = {t.zipGroupZips[z], t.zipGroupPieces[z], t.zipGroupInCounty[z],
                   t.zipGroupOwner[z]};
        int32_t owner = t.zipGroupOwner[z];
        if (owner > 0 && at(owner) <= groupCount)
            groups[at(owner)].zips.push_back(static_cast<int32_t>(z));
    }
    nextZip_ = chain(zipCount);
    nextGroup_ = chain(groupCount);
    nextContainer_ = chain(containerCount);
}

std::vector<int32_t> GroupModel::groupOrder() const {
    return walk(nextGroup_);
}

std::vector<int32_t> GroupModel::containerOrder() const {
    return walk(nextContainer_);
}

int32_t GroupModel::cutZipGroup(int32_t z, int32_t m, int32_t owner) {
    ZipNode& from = zips[at(z)];
    int32_t stays = from.pieces - m;
    ZipNode cut{from.zip, m, from.inCounty > stays ? from.inCounty - stays : 0, owner};
    from.pieces = stays;
    from.inCounty = std::min(from.inCounty, stays);
    int32_t node = static_cast<int32_t>(zips.size());
    zips.push_back(cut);
    linkAfter(nextZip_, z, node);
    return node;
}

int32_t GroupModel::largestZipIndex(const std::vector<int32_t>& list) const {
    int32_t best = -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (best < 0 || zips[at(list[i])].pieces > zips[at(list[at(best)])].pieces)
            best = static_cast<int32_t>(i);
    return best;
}

int32_t GroupModel::splitZipGroup(int32_t g, int32_t to, int32_t m) {
    std::vector<int32_t>& own = groups[at(g)].zips;
    int32_t index = largestZipIndex(own);
    if (index < 0)
        return 0;
    int32_t z = own[at(index)];
    int32_t node = cutZipGroup(z, m, to);
    // The new row follows z in the table: it goes after every row of `to` up to z.
    std::vector<int32_t> order;
    for (int32_t n = nextZip_[0]; n != 0; n = nextZip_[at(n)])
        order.push_back(n);
    std::vector<int32_t> rank(zips.size(), 0);
    for (size_t i = 0; i < order.size(); ++i)
        rank[at(order[i])] = static_cast<int32_t>(i);
    std::vector<int32_t>& target = groups[at(to)].zips;
    auto place = std::upper_bound(target.begin(), target.end(), z,
                                  [&](int32_t a, int32_t b) { return rank[at(a)] < rank[at(b)]; });
    target.insert(place, node);
    return node;
}

int32_t GroupModel::splitSortGroup(int32_t s, int32_t p, int32_t c) {
    int32_t node = static_cast<int32_t>(groups.size());
    {
        const GroupNode& from = groups[at(s)];
        groups.push_back({from.flag, p, from.kind, from.label, c, {}});
    }
    linkAfter(nextGroup_, s, node);
    GroupNode& from = groups[at(s)];
    from.pieces -= p;
    std::vector<int32_t> kept, moved, movedBefore;
    int32_t movedPieces = 0;
    for (int32_t z : from.zips) {
        ZipNode& zip = zips[at(z)];
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
            int32_t cut = cutZipGroup(kept[at(index)], p - movedPieces, node);
            moved.insert(moved.begin() + movedBefore[at(index)], cut);
        }
    }
    groups[at(s)].zips = std::move(kept);
    groups[at(node)].zips = std::move(moved);
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
    const ContainerNode& from = containers[at(j)];
    containers.push_back({0, from.label, from.type});
    linkAfter(nextContainer_, j, node);
    return node;
}

void GroupModel::store(bool dropEmptyContainers) {
    WorkTables& t = ctx_.tables;
    std::vector<int32_t> groupRow(groups.size(), 0), containerRow(containers.size(), 0);
    std::vector<int32_t> groupOrderNow = groupOrder();
    std::vector<bool> holdsGroups(containers.size(), false);
    for (int32_t g : groupOrderNow) {
        int32_t k = groups[at(g)].container;
        if (k > 0 && at(k) < containers.size())
            holdsGroups[at(k)] = true;
    }

    t.truncateContainers();
    int32_t row = 0;
    for (int32_t k : containerOrder()) {
        const ContainerNode& c = containers[at(k)];
        if (dropEmptyContainers && c.pieces == 0 && !holdsGroups[at(k)])
            continue;
        containerRow[at(k)] = ++row;
        t.addContainer(c.pieces, c.label, c.type);
    }
    ctx_.counters.containerCount = row + 1;

    t.truncateSortGroups();
    row = 0;
    for (int32_t g : groupOrderNow) {
        const GroupNode& n = groups[at(g)];
        groupRow[at(g)] = ++row;
        bool linked = n.container > 0 && at(n.container) < containers.size();
        t.addSortGroup(n.flag, n.pieces, n.kind, n.label,
                       linked ? containerRow[at(n.container)] : n.container);
    }
    ctx_.counters.sortGroupCount = row + 1;

    t.truncateZipGroups();
    row = 0;
    for (int32_t n = nextZip_[0]; n != 0; n = nextZip_[at(n)]) {
        const ZipNode& z = zips[at(n)];
        bool linked = z.owner > 0 && at(z.owner) < groups.size();
        t.insertZipGroup(t.zipGroupZips.size(), z.zip, z.pieces, z.inCounty,
                         linked ? groupRow[at(z.owner)] : z.owner);
        ++row;
    }
    ctx_.counters.zipGroupCount = row;
}

} // namespace quillan
