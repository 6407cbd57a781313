#include "core/presort/LevelKeyTable.h"

#include "core/presort/LevelProgress.h"

#include <unordered_map>

namespace quillan {

namespace {

std::unordered_map<int32_t, size_t> rowsOfKeys(const WorkTables& t) {
    std::unordered_map<int32_t, size_t> rows;
    for (size_t k = 1; k < t.LevelKeys.size(); ++k)
        rows.emplace(t.LevelKeys[k], k);
    return rows;
}

} // namespace

void collectLevelKeys(AppContext& ctx, const ZipKeyFunction& keyOf, LevelProgress* progress) {
    WorkTables& t = ctx.tables;
    t.clearLevelKeys();
    std::unordered_map<int32_t, size_t> rows;
    for (size_t z = 1; z <= static_cast<size_t>(ctx.counters.ZipGroupCount); ++z) {
        if (progress)
            progress->passed(static_cast<int64_t>(z));
        int32_t key = 0;
        if (t.ZipGroupOwner[z] > 0 || !keyOf(t.ZipGroupZips[z], key))
            continue;
        auto [slot, added] = rows.emplace(key, t.LevelKeys.size());
        if (added)
            t.addLevelKey(key, 0, 0);
        t.LevelKeyPieces[slot->second] += t.ZipGroupPieces[z];
    }
}

void assignLevelOwners(AppContext& ctx, const ZipKeyFunction& keyOf, int32_t otherwise) {
    WorkTables& t = ctx.tables;
    std::unordered_map<int32_t, size_t> rows = rowsOfKeys(t);
    for (size_t z = 1; z <= static_cast<size_t>(ctx.counters.ZipGroupCount); ++z) {
        if (t.ZipGroupOwner[z] > 0)
            continue;
        int32_t key = 0, group = 0;
        if (keyOf(t.ZipGroupZips[z], key)) {
            auto row = rows.find(key);
            if (row != rows.end())
                group = t.LevelKeyGroups[row->second];
        }
        t.ZipGroupOwner[z] = group > 0 ? group : otherwise;
    }
}

} // namespace quillan
