#pragma once

#include "listio/ListFormat.h"
#include "listio/ListReading.h"
#include "platform/fs/Leftovers.h"

#include <memory>
#include <string>

namespace quillan {

// The Access engine holds a database's path in 260 characters, as the desktop it was made
// for does; a longer path would reach it cut short.
inline constexpr size_t LongestAccessPath = 260;
// The copy of a database that the sort information goes into before it replaces the
// database: the engine opens it, so its path, too, must fit.
inline constexpr platform::OwnFilePattern AccessWorkCopyPattern{".sorting-", LongestAccessPath};

// Opening a list held by a component, the request's workbook or table component. The
// table or sheet is the file's only one, else the one the request names, else the one the
// person picks (the reading is cancelled when the person picks none). Throws the
// component's error when the file cannot be read.
// A database whose path is longer than the Access engine holds (LongestAccessPath) is refused.
OpenedList OpenAccessList(ListOpening& opening, const std::string& path);
OpenedList OpenExcelList(ListOpening& opening, const std::string& path);

} // namespace quillan
