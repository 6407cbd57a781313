#pragma once

#include "printouts/PrintRun.h"

namespace quillan {

// The print run that follows a sort: asks once which reports to print (the choice is kept
// in prefs.dat lines 6 to 9) and prints them in their fixed order, the page numbers and
// the page range running on across all of them. "Skip Printing" prints and saves nothing.
void PrintReportsAfterSort(PrintRun& run);

} // namespace quillan
