#pragma once

#include "listio/ListReading.h"
#include "listio/ListSource.h"

namespace quillan {

// Finds the eleven field roles of the list being read (of a format that identifies them)
// into its state: by the field names, else by the content of the first records; then the
// person confirms them (not for the partner program nor in an unattended run) and they are
// checked. Returns the record count to read: n, or 0 when the person cancelled (the reading
// is then cancelled) or, without a person, a check failed.
long IdentifyFields(ListOpening& opening, ListSource& source, long n, int fieldCount);

} // namespace quillan
