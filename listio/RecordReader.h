#pragma once

#include "core/AppContext.h"
#include "listio/ListSource.h"

#include <string>

namespace quillan {

// Reads every record of an opened list (kind ctx.listFileKind, roles ctx.list) into the
// per-record work tables: the ZIP value, the text line, city and state, the in-county
// mark; corrects recordCount for deleted dBase records, and applies the in-county rule of
// the Periodicals rates. recordCount already counts the n records.
void ReadListRecords(AppContext& ctx, ListSource& source, const std::string& path, long n,
                     int fieldCount);

// The progress picture of a list being read: its page, "Reading" and the file's name, and
// five trays.
void ShowReadingPicture(AppContext& ctx, const std::string& path);

} // namespace quillan
