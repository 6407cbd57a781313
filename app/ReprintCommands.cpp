#include "app/ReprintCommands.h"

#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/SortResults.h"

namespace quillan {

ReprintCommands::ReprintCommands(AppContext& ctx, PrintRun& printRun)
    : ctx_(ctx), printRun_(printRun) {}

void ReprintCommands::printTags() {
    reprint("labels", printRun_.printers.printTags);
}

void ReprintCommands::reprint(const std::string& part, const AfterSortPrinters::Printer& print) {
    runGuarded(ctx_, [&] {
        std::optional<SortedMailing> mailing = LoadSortResults(ctx_, part);
        ctx_.flags.justSorted = false;
        if (mailing && print)
            print(*mailing);
    });
    ResetWorkLists(ctx_);
}

} // namespace quillan
