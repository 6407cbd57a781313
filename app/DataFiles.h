#pragma once

#include "app/AppContext.h"

namespace quillan {

// Loads every settings and postal file of the data folder.
// When tdchrt.dat is missing it says so, sets dataMissing and loads nothing. Another
// missing file throws FileError naming it; nothing is created.
void LoadDataFiles(AppContext& ctx);

// Frees every list; after it no list may be touched.
void FreeDataLists(AppContext& ctx);

// Hides the progress picture. Ends every command, whatever its outcome.
void ResetWorkLists(AppContext& ctx);

// The missing-data message of start-up.
extern const char* const DataMissingMessage;

} // namespace quillan
