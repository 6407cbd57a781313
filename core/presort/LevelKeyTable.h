#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <functional>

namespace quillan {

class LevelProgress;

// The key of an unplaced ZIP group at the level being built (a 3-digit prefix, an ADC or
// AADC number, negative for nonbarcoded pieces where the level keeps them apart); false
// when the ZIP group has none at this level.
using ZipKeyFunction = std::function<bool(int32_t zipKey, int32_t& levelKey)>;

// Empties the level scratch tables and adds the pieces of every ZIP group whose owner is 0
// or less to its key's row, keys in the order they are first met.
void collectLevelKeys(PresortContext& ctx, const ZipKeyFunction& keyOf, LevelProgress* progress);

// Gives every ZIP group whose owner is 0 or less the sort group of its key
// (levelKeyGroups), or `otherwise` when it has no key or its key got no group.
void assignLevelOwners(PresortContext& ctx, const ZipKeyFunction& keyOf, int32_t otherwise);

} // namespace quillan
