#pragma once

#include "core/AppContext.h"

#include <string>

namespace quillan {

class VerifyDialog;

// The record limit of one mailing.
inline constexpr long MaxMailingRecords = 100000;

// Sets the reading counters to 0 and clears the reading picture and its captions.
void ResetListCounters(AppContext& ctx);
// Fills the reading picture with teal.
void ClearReadingPicture(AppContext& ctx);

// The one entry into list input: chooses the list (the first command-line parameter, else
// the open dialog), decides its kind, counts its records and fields, has its fields
// identified and reads its records into the work tables. `mode` is "sort" or "verify" and
// only titles the open dialog. Returns the path read, or "" when nothing was read.
std::string OpenMailingList(AppContext& ctx, VerifyDialog& dialog, const std::string& mode);

} // namespace quillan
