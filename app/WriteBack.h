#pragma once

#include "app/AppContext.h"
#include "listio/SortInformationWriter.h"

namespace quillan {

// Writes the sort information of the job and ends with its closing message and, for
// automation classes, the offer of the barcoding program; a run started with command-line
// parameters shows neither (another program started the sort and reads the result itself).
SortInformationResult WriteBackSortInformation(AppContext& ctx, const SortInformationJob& job);

} // namespace quillan
