#include "app/PrintJobDialogs.h"

namespace quillan {

namespace {

// The dialog goes back to its plain form even when reading the range fails.
class ReportChoicesShown {
public:
    explicit ReportChoicesShown(PrintSelectDialog& dialog) : dialog_(dialog) {
        dialog_.showReportChoices(true);
    }
    ~ReportChoicesShown() { dialog_.showReportChoices(false); }
    ReportChoicesShown(const ReportChoicesShown&) = delete;
    ReportChoicesShown& operator=(const ReportChoicesShown&) = delete;

private:
    PrintSelectDialog& dialog_;
};

} // namespace

PrintJobDialogs::PrintJobDialogs(PrintSelectDialog& select, CancelPrintDialog& printingBox)
    : select_(select), box_(printingBox) {}

const char* PrintJobDialogs::reportBox(AfterSortReport report) {
    switch (report) {
    case AfterSortReport::Statement:
        return "statement";
    case AfterSortReport::Instructions:
        return "SortReport";
    case AfterSortReport::Qualification:
        return "QualReport";
    case AfterSortReport::Tags:
        return "TagReport";
    }
    return "";
}

bool PrintJobDialogs::askToPrint(const std::string& caption,
                                 std::optional<AfterSortReport> report) {
    if (report)
        return select_.askToPrint(caption, reportBox(*report));
    select_.form().setCaption(caption);
    return select_.RunPrintRangeDialog() == 1;
}

std::optional<PrintJobControl::ReportChoice>
PrintJobDialogs::chooseReports(const ReportChoice& ticked, bool unattended) {
    platform::Form& form = select_.form();
    ReportChoicesShown shown(select_);
    form.setCaption("Sorting is complete. Ready to print reports.");
    for (AfterSortReport report : AfterSortReports)
        form.control(reportBox(report)).setChecked(ticked[report]);
    if (unattended) {
        form.control("FromPage").setText("1");
        form.control("ToPage").setText("9999");
    } else if (select_.RunPrintRangeDialog() != 1) {
        return std::nullopt;
    }
    ReportChoice chosen;
    for (AfterSortReport report : AfterSortReports)
        chosen[report] = form.control(reportBox(report)).checked();
    return chosen;
}

} // namespace quillan
