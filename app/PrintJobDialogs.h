#pragma once

#include "app/CancelPrintDialog.h"
#include "app/PrintSelectDialog.h"
#include "reports/PrintJobControl.h"

#include <string>
#include <utility>
#include <vector>

namespace quillan {

// The print dialogs as the reports see them: the print-selection dialog chooses the range,
// the copies and the after-sort reports; the "Printing" box shows the page and can stop.
class PrintJobDialogs : public PrintJobControl {
public:
    PrintJobDialogs(PrintSelectDialog& select, CancelPrintDialog& printingBox);

    bool askToPrint(const std::string& caption, std::optional<AfterSortReport> ticked) override;
    std::optional<ReportChoice> chooseReports(const ReportChoice& ticked, bool unattended) override;
    int fromPage() const override { return select_.fromPage(); }
    int toPage() const override { return select_.toPage(); }
    int copyCount() const override { return select_.copyCount(); }
    void showPrintingPage(int32_t page) override { box_.showPage(page); }
    void closePrintingBox() override { box_.close(); }
    bool printingBoxWatched() const override { return box_.form().ui().hasDisplay(); }
    void processPendingInput() override { box_.form().ui().processMessages(); }
    bool cancelRequested() const override { return box_.cancelPressed(); }
    void clearCancel() override { box_.clearCancel(); }
    void documentPrinted(const std::string& where) override { printed_.push_back(where); }

    // Where the documents printed since the last call went, in the order printed.
    std::vector<std::string> takePrinted() { return std::exchange(printed_, {}); }

private:
    PrintSelectDialog& select_;
    CancelPrintDialog& box_;
    std::vector<std::string> printed_;
};

} // namespace quillan
