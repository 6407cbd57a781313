#pragma once

#include "core/ProgressSink.h"
#include "listio/ListReading.h"
#include "listio/ListSource.h"

#include <string>

namespace quillan {

// Reads every record of an opened list (its format and field roles in the reading) into
// the mailing's pieces: the ZIP, the text line, city and state, the in-county mark; skips
// deleted dBase records, and applies the in-county rule of the Periodicals rates (asking
// the person when the mailing appears not to qualify). The list was counted n records.
void ReadListRecords(ListOpening& opening, ListSource& source, long n, int fieldCount);

// The progress picture of a list being read: its page, "Reading" and the file's name, and
// five trays.
void ShowReadingPicture(ProgressSink& progress, const std::string& path);

} // namespace quillan
