#pragma once

#include "app/AppContext.h"
#include "core/CommandErrors.h"

namespace quillan {

// Runs one command of the user's, its failure told through the context's notices and a
// damaged file of the data folder named from that folder on (see runGuarded in core).
bool runGuarded(AppContext& ctx, const std::function<void()>& command);

} // namespace quillan
