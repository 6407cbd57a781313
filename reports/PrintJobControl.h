#pragma once

#include "core/settings/Preferences.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quillan {

// What the reports need of the person at the printer: whether and how to print (the page
// range and the copies), which reports follow a sort, and the "Printing" box that shows the
// page being printed and lets the person stop. The program's print dialogs provide it.
class PrintJobControl {
public:
    // The after-sort reports, ticked or not.
    struct ReportChoice {
        std::array<bool, AfterSortReports.size()> ticked{};
        bool& operator[](AfterSortReport r) { return ticked[static_cast<size_t>(r)]; }
        bool operator[](AfterSortReport r) const { return ticked[static_cast<size_t>(r)]; }
    };

    virtual ~PrintJobControl() = default;

    // Whether to print a report. A report of the after-sort run printed right after a sort
    // passes itself: its tick in the after-sort choice is the answer, and the range already
    // chosen stands. Otherwise (no report given) the person is asked under the caption, and
    // a new range and copies are chosen.
    virtual bool askToPrint(const std::string& caption, std::optional<AfterSortReport> ticked) = 0;
    // The reports to print after a sort, offered ticked as given: the choice, or nothing when
    // the person skips printing. Unattended nobody is asked: the ticked reports print, from
    // page 1 to 9999.
    virtual std::optional<ReportChoice> chooseReports(const ReportChoice& ticked,
                                                      bool unattended) = 0;

    // The range and copies chosen, read each time; ConvertError when a page is not a whole
    // number.
    virtual int fromPage() const = 0;
    virtual int toPage() const = 0;
    virtual int copyCount() const = 0;

    // The "Printing" box, shown with the page being printed, and closed.
    virtual void showPrintingPage(int32_t page) = 0;
    virtual void closePrintingBox() = 0;
    // Whether a person can watch the box and press its button (not without a display).
    virtual bool printingBoxWatched() const = 0;
    // Lets what the person did meanwhile come through: a click on the box's Cancel, say.
    virtual void processPendingInput() = 0;
    // Whether Cancel was pressed in the box since the last clearCancel.
    virtual bool cancelRequested() const = 0;
    virtual void clearCancel() = 0;

    // A document was printed in full; `where` is the printer's word for where it went (the
    // PDF file, or the printer's name).
    virtual void documentPrinted(const std::string& where) { (void)where; }
};

} // namespace quillan
