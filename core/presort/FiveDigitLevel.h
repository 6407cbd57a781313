#pragma once

#include "core/presort/PresortContext.h"

namespace quillan {

// The first level of every presort: groups the valid pieces into ZIP groups, makes a
// 5-digit sort group of every ZIP group large enough (cutting letters into full and
// one-foot trays), and a 5-digit tray or sack for every group that reaches the container
// minimum. Smaller ZIP groups stay unplaced for the later levels.
void Build5DigitLevel(PresortContext& ctx);

// Drops the sort groups that got no container and numbers the rest from 1 without gaps;
// the ZIP groups of a dropped group become unplaced.
void CompactSortGroups(PresortContext& ctx);

} // namespace quillan
