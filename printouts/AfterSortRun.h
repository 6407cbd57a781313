#pragma once

#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"

namespace quillan {

// The print run that follows a sort: asks once which reports to print (the choice is kept
// in the preferences) and prints them in their fixed order, the page numbers and the page
// range running on across all of them. "Skip Printing" prints and saves nothing. Unattended
// ("NOSTOP") nothing is asked and the reports last chosen print. A report that fails shows
// its error and the run goes on with the next; the number of reports that failed is
// returned, so that the caller can tell the sort's outcome in full.
int PrintReportsAfterSort(PrintRun& run, const SortedMailing& mailing);

} // namespace quillan
