#pragma once

#include "core/AppContext.h"

#include <string>
#include <vector>

namespace quillan {

// The checks the field roles must pass before a list is read, in order; the messages of
// the checks that failed. The ZIP, county and state checks always run; the output-field
// checks only while nothing failed before them, so at most one of them reports.
std::vector<std::string> checkFieldRoles(const AppContext& ctx, const std::string& kind);

// Periodicals with in-county rates chosen.
bool inCountyRates(const AppContext& ctx);

} // namespace quillan
