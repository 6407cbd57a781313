#include "app/PrintCommands.h"

#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/SortResults.h"
#include "printouts/PostalListPrintout.h"

namespace quillan {

PrintCommands::PrintCommands(AppContext& ctx, PrintRun& printRun)
    : ctx_(ctx), printRun_(printRun) {}

void PrintCommands::reprint(const std::string& part, const AfterSortPrinters::Printer& print) {
    if (!print)
        return;
    runGuarded(ctx_, [&] {
        std::optional<SortedMailing> mailing = LoadSortResults(ctx_, part);
        ctx_.flags.justSorted = false;
        if (mailing)
            print(*mailing);
    });
    ResetWorkLists(ctx_);
}

void PrintCommands::reprintPostageStatement() {
    reprint("complete", printRun_.printers.printPostageStatement);
}

void PrintCommands::reprintMailPrepInstructions() {
    reprint("complete", printRun_.printers.printMailPrepInstructions);
}

void PrintCommands::reprintQualificationReport() {
    reprint("complete", printRun_.printers.printQualificationReport);
}

// The tags need only the trays or sacks of the sort.
void PrintCommands::reprintTags() {
    reprint("labels", printRun_.printers.printTags);
}

void PrintCommands::printPostalList(int number) {
    runGuarded(ctx_, [&] {
        ctx_.flags.justSorted = false;
        PrintPostalLists(printRun_, number);
    });
}

} // namespace quillan
