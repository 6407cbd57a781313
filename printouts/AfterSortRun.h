#pragma once

#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"

namespace quillan {

// The print run that follows a sort: prints the chosen reports through the run's printers in
// their fixed order, the page numbers and the page range running on across all of them; the
// first always prints when chosen, a later one only while the run has not reached the To
// page. A stop asked for meanwhile ends the run as Cancel ends a report. A report that fails
// shows its error and the run goes on with the next; the number of reports that failed is
// returned, so that the caller can tell the sort's outcome in full.
int PrintAfterSortReports(PrintRun& run, const PrintJobControl::ReportChoice& chosen,
                          const SortedMailing& mailing);

} // namespace quillan
