#include "printouts/AfterSortRun.h"

namespace quillan {

namespace {

// prefs.dat lines of the four after-sort choices and the dialog's box for each.
struct ReportChoice {
    long prefsLine;
    const char* box;
};

constexpr ReportChoice kChoices[] = {
    {6, "statement"}, {7, "SortReport"}, {8, "QualReport"}, {9, "TagReport"}};

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

int askForReports(PrintRun& run) {
    AppContext& ctx = run.context();
    PrintSelectDialog& dialog = run.selectDialog();
    platform::Form& form = dialog.form();
    ReportChoicesShown shown(dialog);
    form.setCaption("Sorting is complete. Ready to print reports.");
    for (const ReportChoice& choice : kChoices)
        form.control(choice.box).setChecked(ctx.lists.PrefsList[choice.prefsLine] == "t");
    if (ctx.runMode() != "NOSTOP")
        return dialog.RunPrintRangeDialog();
    form.control("FromPage").setText("1");
    form.control("ToPage").setText("9999");
    return 1;
}

void saveChoices(PrintRun& run) {
    AppContext& ctx = run.context();
    for (const ReportChoice& choice : kChoices)
        ctx.lists.PrefsList[choice.prefsLine] =
            run.selectDialog().form().control(choice.box).checked() ? "t" : "f";
    ctx.saveList(ctx.lists.PrefsList, "prefs.dat");
}

void printIfThere(const std::function<void()>& printer) {
    if (printer)
        printer();
}

} // namespace

void PrintReportsAfterSort(PrintRun& run) {
    if (askForReports(run) != 1)
        return;
    AppContext& ctx = run.context();
    ctx.flags.JustSorted = true;
    ctx.counters.RunPageNumber = 0;
    run.ReportPageNumber = 0;
    saveChoices(run);

    const SettingsList& prefs = ctx.lists.PrefsList;
    auto beforeToPage = [&] { return ctx.counters.RunPageNumber < run.toPage(); };
    if (prefs[6] == "t")
        printIfThere(run.printers.PrintPostageStatement);
    if (prefs[7] == "t" && beforeToPage())
        printIfThere(run.printers.PrintMailPrepInstructions);
    if (prefs[8] == "t" && beforeToPage())
        printIfThere(run.printers.PrintQualificationReport);
    if (prefs[9] == "t" && beforeToPage())
        printIfThere(run.printers.PrintTags);
}

} // namespace quillan
