#include "app/PrintCommands.h"

#include "app/AfterSortReports.h"
#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/SortResults.h"
#include "printouts/PostalListPrintout.h"

namespace quillan {

PrintCommands::PrintCommands(AppContext& ctx, PrintRun& printRun)
    : ctx_(ctx), printRun_(printRun) {}

void PrintCommands::reprint(AfterSortReport report) {
    const AfterSortPrinters::Printer& print = printRun_.printers[report];
    if (!print)
        return;
    runGuarded(ctx_, [&] {
        std::optional<SortedMailing> mailing =
            LoadSortResults(ctx_, afterSortReportEntry(report).reprintPart);
        printRun_.session().justSorted = false;
        if (mailing)
            print(*mailing);
    });
    ResetWorkLists(ctx_);
}

void PrintCommands::printPostalList(int number) {
    runGuarded(ctx_, [&] {
        printRun_.session().justSorted = false;
        PrintPostalLists(printRun_, ctx_.lists, number);
    });
}

} // namespace quillan
