#pragma once

#include "listio/SortWriterSupport.h"

#include <optional>

namespace quillan {

// Writes the sort sequence number, tray or sack, package and endorsement line into the
// fields of every record of the Access table the list was read from, walking it in the
// order it was read. The records are changed in a copy of the database beside it, which
// replaces the database only when the table closed with every change written; a failure
// on the way leaves the database as it was. Nor is a database written that changed since
// it was read, or that Access has open.
std::optional<ClosingMessage> WriteAccessList(const SortInformationJob& job, Notices& notices,
                                              WriterProgress& progress);

} // namespace quillan
