#pragma once

#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"

namespace quillan {

enum class MailPrepReport {
    // The summary page with the postage computation, then tray by tray or sack by sack the
    // make-up block, its packages or groups and their ZIP codes, then the rejected ZIP codes
    // (unless the preferences leave them out).
    Instructions,
    // For a list read without sorting: the summary's head and the rejected ZIP codes.
    Verification,
};

// Prints the report once per copy. Right after a sort the instructions print when their box
// was ticked and number their pages on from the reports before them; from the menu the print
// dialog asks. Whatever would stop the instructions half-way (a rate or a tag font size that
// is not a number) throws before the document begins.
void PrintMailPrepInstructions(PrintRun& run, const SortedMailing& mailing, MailPrepReport report);

} // namespace quillan
