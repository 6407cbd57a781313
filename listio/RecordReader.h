#pragma once

#include "core/AppContext.h"
#include "listio/ListSource.h"

#include <string>

namespace quillan {

// Reads every record of an opened list (kind ctx.ListFileKind, roles ctx.list) into the
// per-record work tables: the ZIP value, the text line, city and state, the in-county
// mark; corrects RecordCount for deleted dBase records, and applies the in-county rule of
// the Periodicals rates. RecordCount already counts the n records.
void ReadListRecords(AppContext& ctx, ListSource& source, const std::string& path, long n,
                     int fieldCount);

// The picture the main window shows while a list is read.
void DrawReadingPicture(AppContext& ctx, const std::string& path);
// The sheet of paper with a folded corner that the reading and saving pictures share; false
// without a main window.
bool DrawPagePicture(AppContext& ctx);

} // namespace quillan
