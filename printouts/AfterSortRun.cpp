#include "printouts/AfterSortRun.h"

namespace quillan {

namespace {

const AfterSortPrinters::Printer& printerOf(const AfterSortPrinters& printers,
                                            AfterSortReport report) {
    switch (report) {
    case AfterSortReport::Statement:
        return printers.PrintPostageStatement;
    case AfterSortReport::Instructions:
        return printers.PrintMailPrepInstructions;
    case AfterSortReport::Qualification:
        return printers.PrintQualificationReport;
    case AfterSortReport::Tags:
        break;
    }
    return printers.PrintTags;
}

} // namespace

void PrintReportsAfterSort(PrintRun& run, const SortedMailing& mailing) {
    AppContext& ctx = run.context();
    Preferences& prefs = ctx.lists.PrefsList;
    PrintJobControl::ReportChoice ticked;
    for (AfterSortReport report : AfterSortReports)
        ticked[report] = prefs.printsAfterSort(report);
    std::optional<PrintJobControl::ReportChoice> chosen =
        run.job().chooseReports(ticked, ctx.runMode() == "NOSTOP");
    if (!chosen)
        return;
    ctx.flags.JustSorted = true;
    ctx.counters.RunPageNumber = 0;
    run.ReportPageNumber = 0;
    for (AfterSortReport report : AfterSortReports)
        prefs.setPrintsAfterSort(report, (*chosen)[report]);
    ctx.saveList(prefs, Preferences::FileName);

    // The statement always prints when chosen; a later report only while the run has not
    // reached the To page.
    for (AfterSortReport report : AfterSortReports) {
        if (!prefs.printsAfterSort(report))
            continue;
        if (report != AfterSortReport::Statement && ctx.counters.RunPageNumber >= run.toPage())
            continue;
        if (const AfterSortPrinters::Printer& print = printerOf(run.printers, report))
            print(mailing);
    }
}

} // namespace quillan
