#pragma once

#include "core/SortedMailing.h"
#include "core/presort/LaterLevels.h"
#include "core/presort/PresortContext.h"

namespace quillan {

// Presorts the pieces read into the per-record tables under the settings the lists hold
// now: builds the levels the class needs while pieces remain, breaks up overfull trays and
// sacks, cuts tall packages, records the class in the context and saves the sort-result
// file. Returns the finished sort. Throws PresortError when the mail category names no
// class or the mixed container would have no destination label; nothing is then sorted.
SortedMailing RunPresort(AppContext& ctx);

// The presort proper, with the given builders for the levels after the 5-digit one; it
// saves nothing.
void RunPresortWith(PresortContext& ctx, const LaterLevels& levels);

} // namespace quillan
