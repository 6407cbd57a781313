#pragma once

#include "app/AppContext.h"

#include <string>

namespace quillan {

// What the list is chosen for; it titles the open dialog.
enum class ListPurpose { Sort, Verify };

// The list a command reads: the first command-line parameter, else the one the person
// finds in the open dialog, which begins in the folder of the last list and remembers the
// one chosen as the last list. "" when nothing was chosen.
std::string ChooseListFile(AppContext& ctx, ListPurpose purpose);

} // namespace quillan
