#pragma once

#include "core/AppContext.h"
#include "printouts/PrintRun.h"

#include <string>

namespace quillan {

// The File menu's commands that print again from the results of the last sort: each reloads
// the sort-result file (or says that there is none), prints one report as a command of its
// own (no after-sort choice applies) and leaves the work tables at their seed.
class ReprintCommands {
public:
    ReprintCommands(AppContext& ctx, PrintRun& printRun);

    // Print Tray/Sack Tags: the tags need only the trays and sacks of the last sort.
    void printTags();

private:
    // part: what LoadSortResults reloads, "complete" or "labels".
    void reprint(const std::string& part, const AfterSortPrinters::Printer& print);

    AppContext& ctx_;
    PrintRun& printRun_;
};

} // namespace quillan
