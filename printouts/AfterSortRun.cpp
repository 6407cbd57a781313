#include "printouts/AfterSortRun.h"

#include "core/CommandErrors.h"
#include "platform/Interruption.h"

namespace quillan {

int PrintAfterSortReports(PrintRun& run, const PrintJobControl::ReportChoice& chosen,
                          const SortedMailing& mailing) {
    PrintSession& session = run.session();
    session.justSorted = true;
    session.runPageNumber = 0;
    run.reportPageNumber = 0;
    int failed = 0;
    for (AfterSortReport report : AfterSortReports) {
        if (platform::interruptionRequested())
            break;
        if (!chosen[report])
            continue;
        if (report != AfterSortReports.front() && session.runPageNumber >= run.toPage())
            continue;
        // A report that cannot print (a form file or a rate that will not read) says so
        // once; the reports after it and the write-back into the list still run.
        if (const AfterSortPrinters::Printer& print = run.printers[report])
            failed +=
                runGuarded(session.notices, session.dataFolder, [&] { print(mailing); }) ? 0 : 1;
    }
    return failed;
}

} // namespace quillan
