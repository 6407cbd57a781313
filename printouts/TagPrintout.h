#pragma once

#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"

namespace quillan {

// Prints a tag for every tray or sack of the sort on tag stock, two to a 144-point row, as
// many rows to a sheet as fit. Right after a sort the tags print when their box was ticked,
// once the person says the tag stock is in the printer (unattended nobody is asked); from the
// menu the print dialog asks. A tag whose code cannot be a barcode is reported, naming its
// tray or sack, before anything is asked or printed, and then no tags print.
void PrintTags(PrintRun& run, const SortedMailing& mailing);

// The question asked before tags print right after a sort.
extern const char* const TagStockQuestion;

} // namespace quillan
