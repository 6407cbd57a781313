#include "app/PrintJobDialogs.h"

#include "app/AfterSortReports.h"

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

namespace {

platform::Control& reportBox(platform::Form& form, AfterSortReport report) {
    return form.control(afterSortReportEntry(report).checkBox);
}

} // namespace

// Right after a sort the report's box in the dialog is the answer and the range already
// chosen stands; otherwise the dialog comes up with the report's caption.
bool PrintJobDialogs::askToPrint(const std::string& caption,
                                 std::optional<AfterSortReport> ticked) {
    if (ticked)
        return reportBox(select_.form(), *ticked).checked();
    select_.form().setCaption(caption);
    return select_.RunPrintRangeDialog() == 1;
}

std::optional<PrintJobControl::ReportChoice>
PrintJobDialogs::chooseReports(const ReportChoice& ticked, bool unattended) {
    platform::Form& form = select_.form();
    ReportChoicesShown shown(select_);
    form.setCaption("Sorting is complete. Ready to print reports.");
    for (AfterSortReport report : AfterSortReports)
        reportBox(form, report).setChecked(ticked[report]);
    if (unattended) {
        form.control("FromPage").setText("1");
        form.control("ToPage").setText("9999");
    } else if (select_.RunPrintRangeDialog() != 1) {
        return std::nullopt;
    }
    ReportChoice chosen;
    for (AfterSortReport report : AfterSortReports)
        chosen[report] = reportBox(form, report).checked();
    return chosen;
}

} // namespace quillan
