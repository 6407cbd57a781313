#include "printouts/AfterSortRun.h"

#include "core/CommandErrors.h"
#include "platform/Interruption.h"

namespace quillan {

namespace {

const AfterSortPrinters::Printer& printerOf(const AfterSortPrinters& printers,
                                            AfterSortReport report) {
    switch (report) {
    case AfterSortReport::Statement:
        return printers.printPostageStatement;
    case AfterSortReport::Instructions:
        return printers.printMailPrepInstructions;
    case AfterSortReport::Qualification:
        return printers.printQualificationReport;
    case AfterSortReport::Tags:
        break;
    }
    return printers.printTags;
}

} // namespace

int PrintReportsAfterSort(PrintRun& run, const SortedMailing& mailing) {
    AppContext& ctx = run.context();
    Preferences& prefs = ctx.lists.prefsList;
    PrintJobControl::ReportChoice ticked;
    for (AfterSortReport report : AfterSortReports)
        ticked[report] = prefs.printsAfterSort(report);
    std::optional<PrintJobControl::ReportChoice> chosen =
        run.job().chooseReports(ticked, ctx.runMode() == "NOSTOP");
    if (!chosen)
        return 0;
    ctx.flags.justSorted = true;
    ctx.counters.runPageNumber = 0;
    run.reportPageNumber = 0;
    for (AfterSortReport report : AfterSortReports)
        prefs.setPrintsAfterSort(report, (*chosen)[report]);
    ctx.saveList(prefs, Preferences::FileName);

    // The statement always prints when chosen; a later report only while the run has not
    // reached the To page.
    int failed = 0;
    for (AfterSortReport report : AfterSortReports) {
        // A stop asked for while printing ends the run as the Cancel of the "Printing" box
        // ends a report.
        if (platform::interruptionRequested())
            break;
        if (!prefs.printsAfterSort(report))
            continue;
        if (report != AfterSortReport::Statement && ctx.counters.runPageNumber >= run.toPage())
            continue;
        // A report that cannot print (a form file or a rate that will not read) says so
        // once; the reports after it and the write-back into the list still run.
        if (const AfterSortPrinters::Printer& print = printerOf(run.printers, report))
            failed += runGuarded(ctx, [&] { print(mailing); }) ? 0 : 1;
    }
    return failed;
}

} // namespace quillan
