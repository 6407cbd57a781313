#pragma once

#include "core/AppContext.h"

namespace quillan {

// Presorts the pieces read into the per-record tables: chooses the class code, builds the
// levels the class needs while pieces remain, breaks up overfull trays and sacks, cuts
// tall packages and saves the sort-result file. Throws PresortError when the mail category
// names no class or when pieces would be left without a tray or sack.
void RunPresort(AppContext& ctx);

} // namespace quillan
