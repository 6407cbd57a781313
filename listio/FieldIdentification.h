#pragma once

#include "core/AppContext.h"
#include "listio/FieldChooser.h"
#include "listio/ListSource.h"

namespace quillan {

// Finds the eleven field roles of a list of ctx.listFileKind (not PAVE) into ctx.list: by
// the field names, else by the content of the first records; then the person confirms them
// (not in the unattended "DUZIZ" and "NOSTOP" runs) and they are checked. Returns the record
// count to read: n, or 0 when the person cancelled or, in an unattended run, a check failed.
long IdentifyFields(AppContext& ctx, FieldChooser& chooser, ListSource& source,
                    const std::string& path, long n, int fieldCount);

} // namespace quillan
