#pragma once

#include "core/AppContext.h"
#include "listio/FieldChooser.h"

#include <string>

namespace quillan {

// The record limit of one mailing.
inline constexpr long MaxMailingRecords = 100000;

// Sets the reading counters to 0 and clears the progress picture and its captions.
void ResetListCounters(AppContext& ctx);

// The one entry into list input: chooses the list (the first command-line parameter, else
// the open dialog), decides its kind, counts its records and fields, has its fields
// identified (the chooser confirms them) and reads its records into the work tables. `mode`
// is "sort" or "verify" and only titles the open dialog. Returns the path read, or "" when
// nothing was read.
std::string OpenMailingList(AppContext& ctx, FieldChooser& chooser, const std::string& mode);

} // namespace quillan
