#include "app/AfterSortReports.h"

#include "printouts/AfterSortRun.h"
#include "printouts/MailPrepInstructions.h"
#include "printouts/TagPrintout.h"
#include "reports/PostageStatement.h"
#include "reports/QualificationReport.h"

namespace quillan {

namespace {

constexpr AfterSortReportTable Table = {{
    {AfterSortReport::Statement, "statement", "Postage Statement", 190, "PrintPostageStatement1",
     "Print Postage Statement", SortResultPart::Complete,
     [](PrintRun& run, const SortedMailing& mailing) {
         PrintPostageStatement(run.session(), mailing);
     }},
    {AfterSortReport::Instructions, "SortReport", "Mail Preparation Instructions", 210, "Reprint",
     "Print Mail Preparation Instructions", SortResultPart::Complete,
     [](PrintRun& run, const SortedMailing& mailing) {
         PrintMailPrepInstructions(run, mailing, MailPrepReport::Instructions);
     }},
    {AfterSortReport::Qualification, "QualReport", "Rate Qualification Report", 190,
     "PrintQualificationReport1", "Print Rate Qualification Report", SortResultPart::Complete,
     [](PrintRun& run, const SortedMailing& mailing) {
         PrintQualificationReport(run.session(), mailing);
     }},
    // The tags need only the trays or sacks of the sort.
    {AfterSortReport::Tags, "TagReport", "Tray/Sack Tags", 190, "PntLabels", "Print Tray/Sack Tags",
     SortResultPart::Labels, &PrintTags},
}};

constexpr bool everyReportInItsPlace(const AfterSortReportTable& table) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].report != AfterSortReports[i] || !table[i].checkBox || !table[i].menuEntry)
            return false;
    return true;
}
static_assert(everyReportInItsPlace(Table), "each after-sort report needs its entry, in order");

} // namespace

const AfterSortReportTable& afterSortReportTable() {
    return Table;
}

const AfterSortReportEntry& afterSortReportEntry(AfterSortReport report) {
    return Table[static_cast<size_t>(report)];
}

void setAfterSortPrinters(PrintRun& run) {
    for (const AfterSortReportEntry& entry : Table)
        run.printers[entry.report] = [&run, print = entry.print](const SortedMailing& mailing) {
            print(run, mailing);
        };
}

int PrintReportsAfterSort(AppContext& ctx, PrintRun& run, const SortedMailing& mailing) {
    Preferences& prefs = ctx.lists.prefsList;
    PrintJobControl::ReportChoice ticked;
    for (AfterSortReport report : AfterSortReports)
        ticked[report] = prefs.printsAfterSort(report);
    std::optional<PrintJobControl::ReportChoice> chosen =
        run.job().chooseReports(ticked, run.session().unattended);
    if (!chosen)
        return 0;
    for (AfterSortReport report : AfterSortReports)
        prefs.setPrintsAfterSort(report, (*chosen)[report]);
    ctx.saveList(prefs, Preferences::FileName);
    return PrintAfterSortReports(run, *chosen, mailing);
}

} // namespace quillan
