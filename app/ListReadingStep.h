#pragma once

#include "app/AppContext.h"
#include "listio/ListComponents.h"
#include "listio/ListReading.h"

#include <string>

namespace quillan {

// The request to read the list at `path` as this run of the program reads it: who reads
// it (parameter 2), the table or sheet parameter 3 names for the partner program or an
// unattended run, and the context's list components.
ListRequest listRequestOf(AppContext& ctx, const std::string& path);

// The context's list components, made on first use; they show the workbook library's
// messages in the program's message box.
ListComponents& listComponents(AppContext& ctx);

// Reads the list at `path` for a command, telling and asking through the context's notices
// and the given choosers. The command keeps what was read (the list and its mailing) for
// the rest of its run. A decline of in-county rates turns them off in the context's
// settings.
ListReading ReadListForCommand(AppContext& ctx, FieldChooser& fields, TableChooser& tables,
                               const std::string& path);

} // namespace quillan
