#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quillan {

class LevelProgress;

// The key of an unplaced ZIP group at the level being built (a 3-digit prefix, an ADC or
// AADC number, negative for nonbarcoded pieces where the level keeps them apart); false
// when the ZIP group has none at this level.
using ZipKeyFunction = std::function<bool(int32_t zipKey, int32_t& levelKey)>;

// One key of the level being built: the pieces of its unplaced ZIP groups, and the sort
// group the level gave it.
struct LevelKey {
    int32_t key = 0;
    int32_t pieces = 0;
    int32_t group = ZipGroup::Unplaced;
};

// The keys of every ZIP group not yet placed, in the order they are first met, with their
// pieces.
std::vector<LevelKey> collectLevelKeys(PresortContext& ctx, const ZipKeyFunction& keyOf,
                                       LevelProgress* progress);

// Appends a sort group of `kind` for the key's pieces, numbered by the key's magnitude and
// nonbarcoded for a negative key, and gives it to the key.
void addKeyGroup(PresortContext& ctx, LevelKey& key, GroupKind kind);

// Gives every ZIP group not yet placed the sort group of its key, or `otherwise` when it has
// no key or its key got no group.
void assignLevelOwners(PresortContext& ctx, const std::vector<LevelKey>& keys,
                       const ZipKeyFunction& keyOf, int32_t otherwise);

} // namespace quillan
