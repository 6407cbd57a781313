#pragma once

#include "core/settings/SettingsLists.h"
#include "listio/ListState.h"

#include <optional>
#include <string>
#include <vector>

namespace quillan {

struct ListFormat;

// The checks the field roles must pass before a list is read, in order; the messages of
// the checks that failed. The ZIP, county and state checks always run; the output-field
// checks only while nothing failed before them, so at most one of them reports.
std::vector<std::string> checkFieldRoles(const ListState& list, const SettingsLists& settings,
                                         const ListFormat& format);

// The largest numbers a sorted mailing writes into the fields of its list.
struct OutputNumbers {
    long long sequence = 0;
    long long tray = 0;
    long long package = 0;
};

// Why an integer field of an Access table chosen for a number cannot hold the largest the
// mailing writes into it (naming the field and the numbers), or nothing; asked before
// anything is written.
std::optional<std::string> accessNumbersProblem(const ListState& list,
                                                const OutputNumbers& largest);

// Periodicals with in-county rates chosen.
bool inCountyRates(const SettingsLists& settings);

} // namespace quillan
