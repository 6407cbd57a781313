#pragma once

#include "core/AppContext.h"
#include "core/presort/LaterLevels.h"

namespace quillan {

// Presorts the pieces read into the per-record tables: chooses the class code, builds the
// levels the class needs while pieces remain, breaks up overfull trays and sacks, cuts
// tall packages and saves the sort-result file. Throws PresortError when the mail category
// names no class or the mixed container would have no destination label; nothing is then
// sorted.
void RunPresort(AppContext& ctx);

// The same with the given builders for the levels after the 5-digit one.
void RunPresortWith(AppContext& ctx, const LaterLevels& levels);

} // namespace quillan
