#pragma once

// Values as text the way mdbtools' mdb-export writes them with an explicit date format and
// binary data stripped, so that our reading can be compared with it byte for byte (after
// its UTF-8 is converted to Windows-1252): texts, memos and dates in double quotes with
// quotes doubled, binary values as "", numbers bare, currency with four decimals, Double
// with sixteen significant digits and Single with eight.
// Dates go through mdbtools' own calendar, which shows dates before 1900 as day 0 of
// January 1900.

#include "platform/dao/Variant.h"

#include <string>

namespace platform::dao {

inline constexpr const char* exportDateFormat = "%Y-%m-%d %H:%M:%S";

// Null gives "".
std::string exportText(const Variant& value);

} // namespace platform::dao
