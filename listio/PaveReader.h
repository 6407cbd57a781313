#pragma once

#include "listio/ListReading.h"
#include "listio/ListSource.h"

#include <string>

namespace quillan {

// Reads the n pieces of a PAVE file (fixed-width lines after the line that describes it)
// from its source into the mailing's pieces, and its describing line's first 67 characters
// into the list's header line. A line too
// short to hold the ZIP code, or whose ZIP positions are not digits, refuses the whole file
// with a message and changes nothing. Returns the pieces read, 0 when the file was refused.
// Throws ListFileError when the file cannot be read.
long ReadPaveRecords(ListOpening& opening, ListSource& source, const std::string& path, long n);

} // namespace quillan
