#pragma once

#include "core/ListState.h"
#include "core/settings/SettingsLists.h"

#include <string>
#include <vector>

namespace quillan {

struct ListFormat;

// The checks the field roles must pass before a list is read, in order; the messages of
// the checks that failed. The ZIP, county and state checks always run; the output-field
// checks only while nothing failed before them, so at most one of them reports.
std::vector<std::string> checkFieldRoles(const ListState& list, const SettingsLists& settings,
                                         const ListFormat& format);

// Periodicals with in-county rates chosen.
bool inCountyRates(const SettingsLists& settings);

} // namespace quillan
