#pragma once

#include "core/PointScale.h"
#include "core/SortedMailing.h"
#include "reports/PrintSession.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace quillan {

// The report printers of the after-sort run, one for each report, each given the sort just
// made; the reprint commands print through them too. The print run calls each one that is
// there and skips one that is not, so that a run prints what this build can print.
class AfterSortPrinters {
public:
    using Printer = std::function<void(const SortedMailing&)>;
    Printer& operator[](AfterSortReport report) { return printers_[static_cast<size_t>(report)]; }
    const Printer& operator[](AfterSortReport report) const {
        return printers_[static_cast<size_t>(report)];
    }

private:
    std::array<Printer, AfterSortReports.size()> printers_;
};

// The page machinery every printout goes through: the page range and copies chosen for
// the print job, the page counter of the run (session.runPageNumber) and of the report, the
// page header, and the "Printing" box with its Cancel. Layout is in
// points; the printer's pen position is the layout cursor the routines hand on.
class PrintRun {
public:
    explicit PrintRun(PrintSession& session);

    PrintSession& session() { return session_; }
    platform::PrinterDevice& printer() { return session_.printer; }
    PrintJobControl& job() { return session_.job; }

    int32_t reportPageNumber = 0;
    bool pageInRange = false;
    bool mailPrepMode = false;

    AfterSortPrinters printers;

    int fromPage() const { return session_.job.fromPage(); }
    int toPage() const { return session_.job.toPage(); }

    // A length in points as device units across and down, rounded halves to even.
    int dotsX(long double points) const { return scale_.dotsX(points); }
    int dotsY(long double points) const { return scale_.dotsY(points); }
    // The same conversion as a value the drawing routines take.
    const PointScale& scale() const { return scale_; }
    // Whether what is drawn now reaches the sheet: a page in range while printing goes on.
    bool drawing() const { return pageInRange && !stopped(); }
    // Whether printing has stopped: the To page is done, or the person cancelled.
    bool stopped() const { return session_.stopPrinting; }

    // The canvas font as the printouts change it piece by piece.
    const platform::FontSpec& font() const { return font_; }
    void setFontName(const std::string& name);
    void setFontSize(int size);
    void setFontStyle(bool bold, bool italic);
    void setFont(int size, bool bold, bool italic);

    // Ends the sheet (when in range), counts the page, services the "Printing" box and
    // draws the header of the kind: "sort", "sacks" (no header) or a report title. The first
    // page of a document that starts with this call lies on the sheet the document began
    // with (onFirstSheet), so that no blank sheet is fed ahead of it.
    void StartReportPage(const std::string& kind, bool onFirstSheet = false);
    // Where what follows would run off the page: starts the next page of the kind, or stops
    // printing when the To page is done. True while printing goes on.
    bool nextPageOrStop(const std::string& kind);

    // Prints the report once per copy chosen in the dialog, each copy a document of its
    // own under the title (none when empty), until the copies are done or Cancel is
    // pressed in the "Printing" box.
    void runCopies(const std::string& jobTitle, const std::function<void()>& printCopy);

private:
    // Starts printing again, begins the copy's document and sets up the font, the
    // resolution and the pen.
    void setUpCopy(const std::string& jobTitle);
    std::string headerTitle(const std::string& kind) const;
    void moveToTagTop();
    void applyFont();

    PrintSession& session_;
    PointScale scale_;
    platform::FontSpec font_;
};

} // namespace quillan
