#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <string>

namespace quillan {

// The print-selection dialog every report goes through: the printer, a page range, the
// number of copies and, after a sort, which reports to print. One instance lives for the
// whole run; it keeps its last choices between shows until its activation clears the range
// and the copies.
class PrintSelectDialog {
public:
    explicit PrintSelectDialog(AppContext& ctx);

    platform::Form& form() { return form_; }

    // Shows the dialog until its range is acceptable: 1 for Print, 0 for Cancel. After 1
    // the From and To texts are never empty. A From or To that is not a whole number
    // throws ConvertError, which ends the print command.
    int RunPrintRangeDialog();

    // The chosen range, read from the edits each time (ConvertError when not numbers).
    int fromPage() const;
    int toPage() const;
    // The number of copies in view in the Copies list, 1 to 10.
    int copyCount() const;

    // The after-sort form of the dialog: a box for each after-sort report and "Skip
    // Printing".
    void showReportChoices(bool shown);

private:
    void build();
    void buildPrinterGroup();
    void buildRangeGroup();
    void buildCopyGroup();
    void buildReportGroup();
    void FormActivate();
    void setupClick();
    void AllPagesClick();
    void SomePagesClick();
    void ToPageChange();
    bool rangeAcceptable() const;
    void checkTypedRange() const;

    AppContext& ctx_;
    platform::Form form_;
};

} // namespace quillan
