#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>

namespace quillan {

// The three table operations that split groups and insert containers, by row number. Each
// keeps the links of the work tables consistent: rows after an inserted row move down and
// every owner and container number that pointed at them follows.

// Moves m pieces of sort group g into sort group g + 1 by cutting them off g's largest
// ZIP group into a new ZIP-group row directly after it.
void SplitZipGroup(PresortContext& ctx, int32_t g, int32_t m);
// A new sort group s + 1 with p pieces taken from s, in container c (0 for none).
void SplitSortGroup(PresortContext& ctx, int32_t s, int32_t p, int32_t c);
// An empty container j + 1 with the label, entry discount and level of container j.
void InsertContainerAfter(PresortContext& ctx, int32_t j);

} // namespace quillan
