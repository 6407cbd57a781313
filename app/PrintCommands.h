#pragma once

#include "app/AppContext.h"
#include "core/SortResults.h"
#include "printouts/PrintRun.h"

#include <optional>

#include <string>

namespace quillan {

// The main window's commands that print without sorting: the reports of the last sort, read
// back from the sort-result file, and the twelve postal lists. A reprint prints through the
// same printer as the after-sort run (printRun.printers); one whose printer is not in the
// program does nothing.
class PrintCommands {
public:
    PrintCommands(AppContext& ctx, PrintRun& printRun);

    // File > Print Postage Statement, Print Mail Preparation Instructions, Print Rate
    // Qualification Report, Print Tray/Sack Tags: the report read back from the part of the
    // sort-result file it needs. Without a sort-result file the person is told to sort first
    // and nothing prints. The work tables are at their seed afterwards.
    void reprint(AfterSortReport report);

    // Postal Lists > Print Postal Lists > list n (1 to 12). Leaves the work tables alone.
    void printPostalList(int number);

private:
    // The sort read back from the sort-result file, or nothing after the user was told why
    // it cannot be.
    std::optional<SortedMailing> loadSortResults(SortResultPart part);

    AppContext& ctx_;
    PrintRun& printRun_;
};

} // namespace quillan
