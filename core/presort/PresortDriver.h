#pragma once

#include "core/SortedMailing.h"
#include "core/presort/LaterLevels.h"
#include "core/presort/PresortContext.h"

namespace quillan {

// Presorts the pieces of the mailing read under the settings the lists hold now: builds the
// levels the class needs while pieces remain, breaks up overfull trays and sacks and cuts
// tall packages, showing its progress. Returns the finished sort, which owns the mailing
// and the class it was sorted as. Throws PresortError when the mail category names no class
// or the mixed container would have no destination label; nothing is then sorted.
SortedMailing RunPresort(Mailing mailing, const SettingsLists& lists, ProgressSink& progress);

// The presort proper, with the given builders for the levels after the 5-digit one; it
// saves nothing.
void RunPresortWith(PresortContext& ctx, const LaterLevels& levels);

} // namespace quillan
