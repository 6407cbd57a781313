#pragma once

#include "core/AppContext.h"
#include "core/SortedMailing.h"

#include <optional>
#include <string>

namespace quillan {

// Writes the counters, the container, sort-group and ZIP-group tables and the rejected
// records of the last presort to the sort-result file, so that reports and tags can be
// printed again without sorting anew. Throws FileError when the file cannot be written (the
// previous file is then left as it was) and std::runtime_error when the tables hold fewer
// rows than their counters promise.
void SaveSortResults(AppContext& ctx);

// Reads the sort-result file back into the counters, the class and the work tables. part
// "complete" restores everything; "labels" only the header and the containers, for the
// tags. Returns the sort read, a view of the work tables. Returns nothing after an error box
// when there is no file, or when the file cannot be read or does not hold a whole,
// consistent result; the work tables are then at their seed and the counters as they were.
std::optional<SortedMailing> LoadSortResults(AppContext& ctx, const std::string& part);

// The answer of a reprint command when no sort has left its results.
extern const char* const NoSortResultsMessage;

} // namespace quillan
