#pragma once

#include "listio/SortWriterSupport.h"

#include <optional>
#include <string>

namespace quillan {

// The PAVE test file of a PAVE list: the list's path with its last three characters
// replaced by "tst".
std::string paveTestFilePath(const std::string& listPath);

// Writes the PAVE test file of the presort beside the list (the list itself is left as it
// is): a template line, every placed piece in presort order with its PAVE part, then the
// records that were not placed. The PAVE parts are made with the sort; unless there is
// exactly one for every piece found, nothing is written and the user is told.
std::optional<ClosingMessage> WritePaveList(const SortInformationJob& job, Notices& notices,
                                            WriterProgress& progress);

} // namespace quillan
