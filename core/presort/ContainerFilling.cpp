#include "core/presort/ContainerFilling.h"

#include "core/presort/GroupModel.h"
#include "core/presort/PresortRules.h"

#include <algorithm>

namespace quillan {

namespace {

// The sort groups of every container, in sort-group order.
using GroupLists = std::vector<std::vector<int32_t>>;

GroupLists groupsByContainer(const GroupModel& model) {
    GroupLists lists(model.containers.size());
    for (int32_t g : model.groupOrder()) {
        int32_t k = model.groups[static_cast<size_t>(g)].container;
        if (k >= 0 && static_cast<size_t>(k) < lists.size())
            lists[static_cast<size_t>(k)].push_back(g);
    }
    return lists;
}

// Puts group g into container k.
void place(GroupModel& model, GroupLists& lists, int32_t g, int32_t k) {
    GroupModel::GroupNode& group = model.groups[static_cast<size_t>(g)];
    group.container = k;
    model.containers[static_cast<size_t>(k)].pieces += group.pieces;
    lists.resize(std::max(lists.size(), static_cast<size_t>(k) + 1));
    lists[static_cast<size_t>(k)].push_back(g);
}

int32_t letterMinimumPart(MailClass code) {
    if (code.isTraysOnlyLetters())
        return 1;
    return code == MailClass::PNAL ? 6 : 10;
}

// Refills one tray over full; the groups that do not fit go to a new tray after it.
void refillTray(GroupModel& model, GroupLists& lists, int32_t j, int32_t full, int32_t m) {
    std::vector<int32_t> contents = std::move(lists[static_cast<size_t>(j)]);
    lists[static_cast<size_t>(j)].clear();
    model.containers[static_cast<size_t>(j)].pieces = 0;
    for (size_t idx = 0; idx < contents.size(); ++idx) {
        int32_t i = contents[idx];
        int32_t tray = model.containers[static_cast<size_t>(j)].pieces;
        int32_t pieces = model.groups[static_cast<size_t>(i)].pieces;
        if (tray + pieces <= full) {
            place(model, lists, i, j);
            continue;
        }
        int32_t next = GroupModel::End;
        if (tray <= full - m && pieces - m >= m) {
            int32_t k = std::min(full - tray, pieces - m);
            next = model.insertContainerAfter(j);
            int32_t rest = model.splitSortGroup(i, pieces - k, SortGroup::NoContainer);
            place(model, lists, i, j);
            place(model, lists, rest, next);
        } else if (tray == 0) {
            // Moving it on would only hand the same overfull tray on, for ever.
            place(model, lists, i, j);
        } else {
            next = model.insertContainerAfter(j);
            place(model, lists, i, next);
        }
        if (idx + 1 < contents.size() && next == GroupModel::End)
            next = model.insertContainerAfter(j);
        for (size_t later = idx + 1; later < contents.size(); ++later)
            place(model, lists, contents[later], next);
        return;
    }
}

int32_t flatMinimumPart(MailClass code) {
    return code.isPeriodicals() ? 6 : 10;
}

// How many sacks a sack of p pieces becomes: one more for every part of L pieces while
// at least L - m pieces are left.
int32_t sacksFor(int32_t p, int32_t partSize, int32_t m) {
    int32_t least = partSize - m;
    if (p < least)
        return 1;
    return 2 + (p - least) / partSize;
}

// The level of a mixed sack from the kinds of groups it holds.
ContainerLevel mixedSackLevel(const GroupModel& model, const std::vector<int32_t>& contents,
                              MailClass code) {
    using L = ContainerLevel;
    bool other = false, fiveDigit = false, threeDigit = false;
    bool periodicals = code.isPeriodicals() && code.isBarcodedFlats();
    for (int32_t g : contents) {
        const GroupModel::GroupNode& group = model.groups[static_cast<size_t>(g)];
        if (group.pieces < 10 && !(periodicals && group.pieces >= 6))
            other = true;
        else if (code.isCoSacked() && group.nonbarcoded)
            other = true;
        else if (group.kind == GroupKind::FiveDigit)
            fiveDigit = true;
        else if (group.kind == GroupKind::ThreeDigit)
            threeDigit = true;
        else
            other = true;
    }
    if (code.isStandard() && code.isBarcodedFlats()) {
        if (!other)
            return L::ThreeFiveDigit;
        return fiveDigit || threeDigit ? L::Mixed : L::Basic;
    }
    if (periodicals) {
        if (other)
            return fiveDigit || threeDigit ? L::Mixed : L::Basic;
        if (!fiveDigit)
            return L::ThreeDigit;
        return threeDigit ? L::Mixed : L::FiveDigit;
    }
    return L::Basic;
}

// Breaks one sack up into sacks of about equal pieces; returns how many sacks it created.
int32_t breakUpSack(GroupModel& model, GroupLists& lists, int32_t j, int32_t sacks, int32_t m) {
    int32_t target = model.containers[static_cast<size_t>(j)].pieces / sacks;
    std::vector<int32_t> contents = std::move(lists[static_cast<size_t>(j)]);
    lists[static_cast<size_t>(j)].clear();
    model.containers[static_cast<size_t>(j)].pieces = 0;
    int32_t current = GroupModel::End, next = GroupModel::End, created = 0;
    bool newSack = true, overflow = false;
    for (int32_t i : contents) {
        if (newSack) {
            current = current == GroupModel::End ? j : next;
            next = model.insertContainerAfter(current);
            newSack = overflow = false;
            ++created;
        }
        int32_t held = model.containers[static_cast<size_t>(current)].pieces;
        int32_t pieces = model.groups[static_cast<size_t>(i)].pieces;
        if (held + pieces < target + m && !overflow) {
            place(model, lists, i, current);
            continue;
        }
        if (target - held >= m && !overflow) {
            int32_t rest = model.splitSortGroup(i, pieces - (target - held), next);
            place(model, lists, i, current);
            place(model, lists, rest, next);
        } else if (held == 0) {
            // Too heavy for any part: it stays whole rather than leave this sack empty.
            place(model, lists, i, current);
            continue;
        } else {
            place(model, lists, i, next);
        }
        overflow = true;
        if (model.containers[static_cast<size_t>(next)].pieces > target)
            newSack = true;
    }
    return created;
}

} // namespace

void FillLetterTrays(PresortContext& ctx) {
    GroupModel model(ctx);
    auto lists = groupsByContainer(model);
    int32_t m = letterMinimumPart(ctx.mailClass());
    for (int32_t j = model.nextContainer(GroupModel::End); j != GroupModel::End;
         j = model.nextContainer(j)) {
        lists.resize(model.containers.size());
        int32_t full = ctx.settings.mailType.fullTray();
        if (model.containers[static_cast<size_t>(j)].pieces > full)
            refillTray(model, lists, j, full, m);
    }
    model.store(true);
}

int32_t sackCapacity(const PresortContext& ctx) {
    double ounces = ctx.settings.mailType.sackMaxPounds() * 16.0;
    double weight = 1.92;
    if (ctx.settings.mailType.hasExactWeight() && ctx.settings.mailType.pieceWeight() >= 1.92)
        weight = ctx.settings.mailType.pieceWeight();
    return static_cast<int32_t>(ounces / weight);
}

void FillFlatContainers(PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    GroupModel model(ctx);
    auto lists = groupsByContainer(model);
    int32_t m = flatMinimumPart(code);
    int32_t partSize = std::max(1, sackCapacity(ctx) - m);
    for (int32_t j = model.nextContainer(GroupModel::End); j != GroupModel::End;
         j = model.nextContainer(j)) {
        lists.resize(model.containers.size());
        Container& sack = model.containers[static_cast<size_t>(j)];
        int32_t sacks = sacksFor(sack.pieces, partSize, m);
        if (sacks <= 1)
            continue;
        bool mixed = isMixedLevel(sack.level);
        int32_t created = breakUpSack(model, lists, j, sacks, m);
        if (!mixed)
            continue;
        int32_t k = j;
        lists.resize(model.containers.size());
        for (int32_t n = 0; n <= created && k != GroupModel::End; ++n, k = model.nextContainer(k))
            model.containers[static_cast<size_t>(k)].level =
                mixedSackLevel(model, lists[static_cast<size_t>(k)], code);
    }
    model.store(true);
}

} // namespace quillan
