#pragma once

#include "core/AppContext.h"

#include <string>

namespace quillan::test {

// Places the pieces read the way a presort into 5-digit packages would: one ZIP group per
// signed ZIP key (ascending by absolute ZIP, the key of the pieces without ZIP+4 after the
// other), each in a sort group of its own labelled "5D " and the ZIP (flagged "1" for the
// pieces without ZIP+4), `groupsPerTray` sort groups to a tray.
void presortByZip(AppContext& ctx, int groupsPerTray = 1);

// Lines of a file split at CR LF; the file must end with one.
std::vector<std::string> crlfLines(const std::string& bytes);

} // namespace quillan::test
