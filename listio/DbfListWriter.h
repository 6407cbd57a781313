#pragma once

#include "listio/SortWriterSupport.h"

#include <optional>

namespace quillan {

// Writes the sort sequence number, tray or sack, package and endorsement line into the
// fields of every live record of a dBase table: placed pieces are numbered in presort
// order, the records that were not placed take the numbers after them in list order.
// Nothing but those fields changes. The table is patched in a copy that replaces it only
// when complete, and only when the file still has the size, header and records it had
// when it was read.
std::optional<ClosingMessage> WriteDbfList(const SortInformationJob& job, Notices& notices,
                                           WriterProgress& progress);

} // namespace quillan
