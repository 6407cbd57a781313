#pragma once

#include "core/AppContext.h"
#include "core/SortedMailing.h"

namespace quillan::test {

// The sort a test left in the context's work tables and counters, under its class and lists.
SortedMailing mailingOf(const AppContext& ctx);

} // namespace quillan::test
