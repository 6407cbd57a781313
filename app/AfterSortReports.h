#pragma once

#include "app/AppContext.h"
#include "core/SortResults.h"
#include "core/settings/Preferences.h"
#include "printouts/PrintRun.h"

#include <array>

namespace quillan {

// A report that can follow a sort, as the program offers it: its tick box in the print
// selection dialog, the File menu entry that prints it again from the sort-result file, the
// part of that file the reprint reads, and its printer. Its line in prefs.dat comes with
// its AfterSortReport.
struct AfterSortReportEntry {
    AfterSortReport report;
    const char* checkBox;
    const char* checkBoxCaption;
    int checkBoxWidth;
    const char* menuEntry;
    const char* menuCaption;
    SortResultPart reprintPart; // the trays and sacks only, or the complete sort
    void (*print)(PrintRun& run, const SortedMailing& mailing);
};

// Every after-sort report once, in the order they print (the build checks that each has its
// entry in its place): the dialog's boxes, the File menu, the printers of the after-sort run
// and the reprint commands are made from it.
using AfterSortReportTable = std::array<AfterSortReportEntry, AfterSortReports.size()>;
const AfterSortReportTable& afterSortReportTable();
const AfterSortReportEntry& afterSortReportEntry(AfterSortReport report);

// Gives the run a printer for every report of the table.
void setAfterSortPrinters(PrintRun& run);

// The print run after a sort: asks once which reports to print, offered as prefs.dat last
// ticked them (unattended nothing is asked and the ticked ones print); keeps the choice in
// prefs.dat and prints them. "Skip Printing" prints and saves nothing. Returns the number of
// reports that failed.
int PrintReportsAfterSort(AppContext& ctx, PrintRun& run, const SortedMailing& mailing);

} // namespace quillan
