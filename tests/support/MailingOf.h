#pragma once

#include "app/AppContext.h"
#include "core/SortResults.h"
#include "core/SortedMailing.h"

#include <optional>

namespace quillan::test {

// A copy of the sort a test left in the context's work tables and counters, under its class
// and lists.
SortedMailing mailingOf(const AppContext& ctx);

// Presorts the mailing in the context's work tables and counters as the sort command does,
// saving the sort-result file, and leaves the finished sort in the context's tables,
// counters and class as well.
SortedMailing runPresort(AppContext& ctx);

// The context's sort-result file read back as a reprint reads it, and put into the
// context's tables, counters and class as well; nothing when it is refused (the context is
// then as it was).
std::optional<SortedMailing> loadSortResults(AppContext& ctx,
                                             SortResultPart part = SortResultPart::Complete);

} // namespace quillan::test
