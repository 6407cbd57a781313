#pragma once

#include "core/AppContext.h"
#include "listio/FieldChooser.h"
#include "listio/TableChooser.h"

#include <string>
#include <vector>

namespace quillan {

// The record limit of one mailing.
inline constexpr long MaxMailingRecords = 100000;

// The kinds of file the open dialog offers, all files first.
std::vector<platform::FileFilter> mailingListFilters();

// Sets the reading counters to 0 and clears the progress picture and its captions.
void ResetListCounters(AppContext& ctx);

// The one entry into list input: chooses the list (the first command-line parameter, else
// the open dialog), decides its kind, counts its records and fields (the table chooser
// picks the table or sheet of a file that has several), has its fields identified (the
// field chooser confirms them) and reads its records into the work tables. `mode` is
// "sort" or "verify" and only titles the open dialog. Returns the path read, or "" when
// nothing was read.
std::string OpenMailingList(AppContext& ctx, FieldChooser& chooser, TableChooser& tables,
                            const std::string& mode);

} // namespace quillan
