#include "core/presort/LevelKeyTable.h"

#include "core/presort/LevelProgress.h"

#include <unordered_map>

namespace quillan {

namespace {

std::unordered_map<int32_t, size_t> rowsOfKeys(const WorkTables& t) {
    std::unordered_map<int32_t, size_t> rows;
    for (size_t k = 1; k < t.levelKeys.size(); ++k)
        rows.emplace(t.levelKeys[k], k);
    return rows;
}

} // namespace

void collectLevelKeys(PresortContext& ctx, const ZipKeyFunction& keyOf, LevelProgress* progress) {
    WorkTables& t = ctx.tables;
    t.clearLevelKeys();
    std::unordered_map<int32_t, size_t> rows;
    for (size_t z = 1; z <= static_cast<size_t>(ctx.counters.zipGroupCount); ++z) {
        if (progress)
            progress->passed(static_cast<int64_t>(z));
        int32_t key = 0;
        if (t.zipGroupOwner[z] > 0 || !keyOf(t.zipGroupZips[z], key))
            continue;
        auto [slot, added] = rows.emplace(key, t.levelKeys.size());
        if (added)
            t.addLevelKey(key, 0, 0);
        t.levelKeyPieces[slot->second] += t.zipGroupPieces[z];
    }
}

void assignLevelOwners(PresortContext& ctx, const ZipKeyFunction& keyOf, int32_t otherwise) {
    WorkTables& t = ctx.tables;
    std::unordered_map<int32_t, size_t> rows = rowsOfKeys(t);
    for (size_t z = 1; z <= static_cast<size_t>(ctx.counters.zipGroupCount); ++z) {
        if (t.zipGroupOwner[z] > 0)
            continue;
        int32_t key = 0, group = 0;
        if (keyOf(t.zipGroupZips[z], key)) {
            auto row = rows.find(key);
            if (row != rows.end())
                group = t.levelKeyGroups[row->second];
        }
        t.zipGroupOwner[z] = group > 0 ? group : otherwise;
    }
}

} // namespace quillan
