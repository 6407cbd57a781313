#pragma once

#include "listio/ListFormat.h"
#include "listio/ListReading.h"

#include <string>

namespace quillan {

// Opening a list the program reads from its file itself: a text list (the fields of its
// first two lines must agree), a dBase table (its header must be sound and hold the records
// it counts, or the person must accept the ones it holds) and a PAVE file. Throws
// ListFileError when the file cannot be read.
OpenedList OpenTextList(ListOpening& opening, const std::string& path);
OpenedList OpenDbaseList(ListOpening& opening, const std::string& path);
OpenedList OpenPaveList(ListOpening& opening, const std::string& path);

} // namespace quillan
