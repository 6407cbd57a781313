#pragma once

#include "core/Notices.h"
#include "core/ProgressSink.h"
#include "listio/SortInformationJob.h"
#include "listio/SortWriterSupport.h"

#include <optional>
#include <string>

namespace quillan {

// What became of the sort information. A failure has been told to the user, and left the
// user's files as they were.
struct SortInformationResult {
    // It was asked for and not written; the user has been told why.
    bool failed = false;
    // A stop was asked for before the list changed: nothing was written.
    bool stopped = false;
    // The file written; empty when nothing was asked for.
    std::string path{};
    // The fields of a list without a heading that took the sort ("fields 9 to 11"); empty
    // for every other list.
    std::string fieldsWritten{};
    // What to tell the user now that it is safely on disk, and the barcoding program's offer.
    std::optional<ClosingMessage> closing{};
};

// Hands the result of a sort back to the mailer's data, as prefs.dat line 2 says: "0"
// writes it into the list itself (a text list is rewritten in presort order, a dBase table
// gets its sort, tray, package and endorsement fields set, a PAVE list gets its test file
// beside it), "1" writes the separate sort-information file, anything else nothing. The
// closing message comes back in the result for the program to show.
SortInformationResult WriteSortInformation(const SortInformationJob& job, Notices& notices,
                                           ProgressSink& progress);

// The closing message as the user is told it: for an automation class whose writer has the
// question, with the offer of the barcoding program, answered Yes or No.
Notice closingNotice(const ClosingMessage& closing, MailClass mailClass);

} // namespace quillan
