#pragma once

#include "core/AppContext.h"

namespace quillan {

// Hands the result of a sort back to the mailer's data, as prefs.dat line 2 says: "0"
// writes it into the list itself (a text list is rewritten in presort order, a dBase table
// gets its sort, tray, package and endorsement fields set, a PAVE list gets its test file
// beside it), "1" writes the separate sort-information file, anything else nothing. Ends
// with the closing message and, for automation classes, the offer of the barcoding program;
// a run started with command-line parameters shows neither.
//
// The caller runs it after RunPresort (and the print run), while the work tables, the
// counters, MailClassCode, listFileKind, listFileName and ctx.list still describe the list
// that was read and sorted, and resets the work tables afterwards. A failure is reported to
// the user here, and leaves the user's files as they were; the result says so.
struct SortInformationResult {
    // It was asked for and not written; the user has been told why.
    bool failed = false;
    // A stop was asked for before the list changed: nothing was written.
    bool stopped = false;
    // The file written; empty when nothing was asked for.
    std::string path;
};
SortInformationResult WriteSortInformation(AppContext& ctx);

} // namespace quillan
