#include "app/PrintCommands.h"

#include "app/AfterSortReports.h"
#include "app/DataFiles.h"
#include "app/RunGuarded.h"
#include "core/BusyCursor.h"
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
            loadSortResults(afterSortReportEntry(report).reprintPart);
        printRun_.session().justSorted = false;
        if (mailing)
            print(*mailing);
    });
    ResetWorkLists(ctx_);
}

std::optional<SortedMailing> PrintCommands::loadSortResults(SortResultPart part) {
    try {
        BusyCursor busy(ctx_.notices());
        return LoadSortResults(ctx_.sortResultPath(), part, ctx_.lists);
    } catch (const SortResultError& e) {
        ctx_.progress().hide();
        ctx_.message(platform::BeepKind::Hand, platform::MessageKind::Error,
                     platform::MessageButtons::Cancel, e.what());
        return std::nullopt;
    }
}

void PrintCommands::printPostalList(int number) {
    runGuarded(ctx_, [&] {
        printRun_.session().justSorted = false;
        PrintPostalLists(printRun_, ctx_.lists, number);
    });
}

} // namespace quillan
