#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>
#include <string>

namespace quillan {

// The fill passes that run after the levels: trays over a full tray and sacks over the
// sack capacity are broken up into several, splitting sort groups (and ZIP groups) where a
// boundary falls inside one. A tray or sack left with no piece is removed.
void FillLetterTrays(PresortContext& ctx);
void FillFlatContainers(PresortContext& ctx);

// Pieces of a sack: the maximum pounds in ounces over the piece weight (1.92 oz unless a
// heavier exact weight is given).
int32_t sackCapacity(const PresortContext& ctx);

} // namespace quillan
