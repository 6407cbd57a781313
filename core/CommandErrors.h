#pragma once

#include "core/Notices.h"

#include <functional>
#include <string>

namespace quillan {

// Runs one command of the user's. A failure of the program's own code (a missing settings
// line, a number that is not one, a file that cannot be written) is answered with a beep
// and an error box, and the command is abandoned; false is returned then. A damaged file of
// the data folder is named from that folder on.
bool runGuarded(Notices& notices, const std::string& dataFolder,
                const std::function<void()>& command);

} // namespace quillan
