#include "core/presort/DistributionLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/GroupModel.h"
#include "core/presort/LevelContainers.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortRules.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <unordered_map>

namespace quillan {

namespace {

// The group that takes the rest of a cut group: a 5-digit or 3-digit group for the one
// ZIP or 3-digit prefix its ZIP groups share, else one like the cut group.
void nameRest(const GroupModel& model, GroupModel::GroupNode& rest,
              const GroupModel::GroupNode& cut) {
    auto zipOf = [&](int32_t z) { return std::abs(model.zips[static_cast<size_t>(z)].zip); };
    int32_t zip = zipOf(rest.zips.front());
    auto all = [&](auto same) { return std::all_of(rest.zips.begin(), rest.zips.end(), same); };
    rest.kind = cut.kind;
    rest.key = cut.key;
    if (all([&](int32_t z) { return zipOf(z) == zip; })) {
        rest.kind = GroupKind::FiveDigit;
        rest.key = zip;
    } else if (all([&](int32_t z) { return zipOf(z) / 100 == zip / 100; })) {
        rest.kind = GroupKind::ThreeDigit;
        rest.key = zip / 100;
    }
}

// One pass over the sort groups of the level, with the groups of every center linked in
// row order and the pieces still uncontained at or after the scan position per center.
class DistributionPass {
public:
    DistributionPass(PresortContext& ctx, const DistributionLevel& level)
        : ctx_(ctx), level_(level), model_(ctx), containers_(ctx) {}

    void run() {
        linkCenters();
        for (int32_t g = model_.nextGroup(GroupModel::End); g != GroupModel::End;
             g = model_.nextGroup(g)) {
            if (group(g).contained() || number_[static_cast<size_t>(g)] <= 0)
                continue;
            int32_t center = number_[static_cast<size_t>(g)];
            ContainerLimits limits = level_.limits(remaining_[center]);
            if (remaining_[center] >= limits.minimum)
                fill(g, center, limits);
            if (!group(g).contained())
                remaining_[center] -= group(g).pieces;
        }
        model_.store(false);
        containers_.finish();
    }

private:
    GroupModel::GroupNode& group(int32_t g) { return model_.groups[static_cast<size_t>(g)]; }

    void linkCenters() {
        std::unordered_map<int32_t, int32_t> last;
        number_.assign(model_.groups.size(), 0);
        nextSame_.assign(model_.groups.size(), GroupModel::End);
        for (int32_t g : model_.groupOrder()) {
            const GroupModel::GroupNode& node = group(g);
            if (node.contained())
                continue;
            int32_t center = distributionNumber(*level_.chart, node);
            number_[static_cast<size_t>(g)] = center;
            if (center <= 0)
                continue;
            remaining_[center] += node.pieces;
            auto [slot, first] = last.emplace(center, g);
            if (!first)
                nextSame_[static_cast<size_t>(slot->second)] = g;
            slot->second = g;
        }
    }

    void noteKind(DistributionKinds& kinds, const GroupModel::GroupNode& node) const {
        if (node.kind == GroupKind::Adc || (ctx_.mailClass().isCoSacked() && node.nonbarcoded))
            kinds.distribution = true;
        else if (node.kind == GroupKind::ThreeDigit)
            kinds.threeDigit = true;
        else
            kinds.fiveDigit = true;
    }

    // Fills one container from group g onward with the uncontained groups of the center.
    void fill(int32_t g, int32_t center, const ContainerLimits& limits) {
        bool cutting = remaining_[center] > limits.capacity;
        std::vector<int32_t> contents;
        int64_t held = 0;
        for (int32_t h = g; h != GroupModel::End; h = nextSame_[static_cast<size_t>(h)]) {
            GroupModel::GroupNode& node = group(h);
            if (node.contained())
                continue;
            if (!cutting || held + node.pieces <= limits.capacity) {
                contents.push_back(h);
                held += node.pieces;
                continue;
            }
            if (held < limits.minimum) {
                int32_t taken = cut(h, center, limits, static_cast<int32_t>(held));
                if (taken > 0) {
                    contents.push_back(h);
                    held += taken;
                }
            }
            break;
        }
        if (held <= 0)
            return;
        DistributionKinds kinds;
        for (int32_t h : contents)
            noteKind(kinds, group(h));
        const std::string& entry = labelText(*level_.labels, center);
        Container container{
            .pieces = static_cast<int32_t>(held),
            .kind = ContainerKind::Adc,
            .level = level_.level(kinds),
            .entry = EntryDiscountFor(ctx_, level_.groups, entryPrefixOf(centerEntryKey(entry))),
            .destination = entry};
        int64_t ownKey = distributionOrderCode(container.label());
        int32_t index = containers_.add(distributionOrderCode(entry), ownKey, std::move(container));
        for (int32_t h : contents) {
            group(h).container = index;
            remaining_[center] -= group(h).pieces;
        }
        ctx_.counters.placedPieces += static_cast<int32_t>(held);
    }

    // Cuts group G so that its first ZIP groups fill the tray (held pieces so far) up to the
    // minimum and G keeps at least the group minimum, never over the capacity. The rest
    // becomes a new group after G, or goes back unplaced when it is below the group
    // minimum. Returns the pieces G keeps in the tray (0: G stays out whole).
    int32_t cut(int32_t G, int32_t center, const ContainerLimits& limits, int32_t held) {
        GroupModel::GroupNode& node = group(G);
        int32_t whole = node.pieces, kept = 0;
        std::vector<int32_t> stay, rest;
        for (int32_t z : node.zips) {
            int32_t room = limits.capacity - held;
            bool done = (held >= limits.minimum && kept >= level_.groupMinimum) || room <= 0;
            if (done) {
                rest.push_back(z);
                continue;
            }
            int32_t pieces = model_.zips[static_cast<size_t>(z)].pieces;
            if (pieces > room) {
                rest.push_back(model_.cutZipGroup(z, pieces - room, G));
                pieces = room;
            }
            stay.push_back(z);
            held += pieces;
            kept += pieces;
        }
        if (kept == 0)
            return 0;
        // A ZIP group split off above directly follows it, so `rest` is in table order.
        node.zips = stay;
        node.pieces = kept;
        int32_t left = whole - kept;
        if (left > 0)
            keepRest(G, center, rest, left);
        return kept;
    }

    void keepRest(int32_t G, int32_t center, const std::vector<int32_t>& rest, int32_t left) {
        if (left < level_.groupMinimum) {
            for (int32_t z : rest)
                model_.zips[static_cast<size_t>(z)].owner = ZipGroup::Unplaced;
            ctx_.counters.piecesDone -= left;
            remaining_[center] -= left;
            return;
        }
        GroupModel::GroupNode node;
        node.nonbarcoded = group(G).nonbarcoded;
        node.pieces = left;
        node.zips = rest;
        nameRest(model_, node, group(G));
        int32_t added = model_.insertGroupAfter(G, std::move(node));
        for (int32_t z : rest)
            model_.zips[static_cast<size_t>(z)].owner = added;
        number_.resize(model_.groups.size(), 0);
        nextSame_.resize(model_.groups.size(), GroupModel::End);
        number_[static_cast<size_t>(added)] = center;
        nextSame_[static_cast<size_t>(added)] = nextSame_[static_cast<size_t>(G)];
        nextSame_[static_cast<size_t>(G)] = added;
    }

    PresortContext& ctx_;
    const DistributionLevel& level_;
    GroupModel model_;
    LevelContainers containers_;
    std::vector<int32_t> number_, nextSame_;
    std::unordered_map<int32_t, int64_t> remaining_;
};

} // namespace

int32_t distributionNumber(const SettingsList& chart, const SortGroup& group) {
    if (group.kind == GroupKind::Adc)
        return group.key;
    int prefix = group.prefix();
    return prefix == 0 ? 0 : chartValue(chart, prefix);
}

void makeDistributionContainers(PresortContext& ctx, const DistributionLevel& level) {
    DistributionPass(ctx, level).run();
}

void addDistributionGroups(PresortContext& ctx, std::vector<LevelKey>& keys,
                           const SettingsList& labels, GroupKind kind, int32_t groupMinimum) {
    std::vector<size_t> reaching;
    std::vector<int64_t> codeOf(keys.size(), 0);
    for (size_t k = 0; k < keys.size(); ++k) {
        if (keys[k].pieces < groupMinimum)
            continue;
        reaching.push_back(k);
        codeOf[k] = distributionOrderCode(labelText(labels, std::abs(keys[k].key)));
    }
    std::stable_sort(reaching.begin(), reaching.end(),
                     [&](size_t a, size_t b) { return codeOf[a] < codeOf[b]; });
    for (size_t k : reaching)
        addKeyGroup(ctx, keys[k], kind);
}

} // namespace quillan
