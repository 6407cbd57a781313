#pragma once

#include "core/AppContext.h"

#include <functional>

namespace quillan {

// Runs one command of the user's. A failure of the program's own code (a missing settings
// line, a number that is not one, a file that cannot be written) is answered with a beep
// and an error box, and the command is abandoned; false is returned then.
bool runGuarded(AppContext& ctx, const std::function<void()>& command);

} // namespace quillan
