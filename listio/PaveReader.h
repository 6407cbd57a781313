#pragma once

#include "core/AppContext.h"

#include <string>

namespace quillan {

// Reads the n pieces of a PAVE file (fixed-width lines after a header line) into the
// per-record work tables and sets recordCount. A line too short to hold the ZIP code, or
// whose ZIP positions are not digits, refuses the whole file with a message and changes
// nothing. Returns the pieces read, 0 when the file was refused. Throws ListFileError when
// the file cannot be read.
long ReadPaveRecords(AppContext& ctx, const std::string& path, long n);

} // namespace quillan
