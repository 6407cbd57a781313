#include "core/presort/LevelKeyTable.h"

#include "core/presort/LevelProgress.h"

#include <cstdlib>
#include <unordered_map>

namespace quillan {

std::vector<LevelKey> collectLevelKeys(PresortContext& ctx, const ZipKeyFunction& keyOf,
                                       LevelProgress* progress) {
    std::vector<LevelKey> keys;
    std::unordered_map<int32_t, size_t> indexOfKey;
    const std::vector<ZipGroup>& zips = ctx.tables.zipGroups;
    for (size_t z = 0; z < zips.size(); ++z) {
        if (progress)
            progress->passed(static_cast<int64_t>(z) + 1);
        int32_t key = 0;
        if (zips[z].placed() || !keyOf(zips[z].zip, key))
            continue;
        auto [slot, added] = indexOfKey.emplace(key, keys.size());
        if (added)
            keys.push_back({key});
        keys[slot->second].pieces += zips[z].pieces;
    }
    return keys;
}

void addKeyGroup(PresortContext& ctx, LevelKey& key, GroupKind kind) {
    std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    key.group = static_cast<int32_t>(groups.size());
    groups.push_back({.kind = kind,
                      .key = std::abs(key.key),
                      .pieces = key.pieces,
                      .container = SortGroup::NoContainer,
                      .nonbarcoded = key.key < 0});
    ctx.counters.piecesDone += key.pieces;
}

void assignLevelOwners(PresortContext& ctx, const std::vector<LevelKey>& keys,
                       const ZipKeyFunction& keyOf, int32_t otherwise) {
    std::unordered_map<int32_t, int32_t> groupOfKey;
    for (const LevelKey& k : keys)
        groupOfKey.emplace(k.key, k.group);
    for (ZipGroup& zip : ctx.tables.zipGroups) {
        if (zip.placed())
            continue;
        int32_t key = 0, group = ZipGroup::Unplaced;
        if (keyOf(zip.zip, key)) {
            auto found = groupOfKey.find(key);
            if (found != groupOfKey.end())
                group = found->second;
        }
        zip.owner = group >= 0 ? group : otherwise;
    }
}

} // namespace quillan
