#pragma once

#include "core/PointScale.h"
#include "reports/PrintSession.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillan {

// The sheets of a report laid out in points from the top left of the printable page: the
// page range and copies chosen for the print job, the run's page counter
// (session.runPageNumber) and the report's own, the "Printing" box with its Cancel, and drawing
// that reaches the printer only on pages in the range. Pages before the From page are laid out but
// not drawn and take no sheet; once the To page is reached (or the person cancels) the report is
// stopped and draws nothing more.
class ReportPages {
public:
    explicit ReportPages(PrintSession& session);

    // Prints the report once per copy chosen, each copy a document of its own, until the
    // copies are done or Cancel is pressed in the "Printing" box. A report that fails
    // half-way leaves no half-made print job behind.
    void printCopies(const std::string& jobTitle, const std::function<void()>& printCopy);

    // Starts the next page: a new sheet when the page before it was drawn, the page
    // counters raised, the "Printing" box kept current, the font at 10 points.
    void startPage();
    // Whether a body reaching `margin` points below y would run off the sheet.
    bool runsOff(int32_t y, int32_t margin) const;
    // The page break every report body takes: when a body of `margin` points below y runs
    // off the sheet, the next page with its header (y is then the header's result) while
    // the To page allows another page; otherwise printing stops and y stays. A stopped
    // report takes no more pages.
    int32_t breakPage(int32_t y, int32_t margin, const std::function<int32_t()>& nextPage);
    // The same break taken now, whatever room is left.
    int32_t takePageBreak(int32_t y, const std::function<int32_t()>& nextPage);

    bool stopped() const { return session_.stopPrinting; }
    void stop() { session_.stopPrinting = true; }
    // Whatever the report draws is drawn only on a page in range while not stopped.
    bool drawing() const { return inRange_ && !stopped(); }
    // The report's page number, restarting at 1 with each copy.
    int32_t pageNumber() const { return pageNumber_; }
    int32_t runPageNumber() const { return session_.runPageNumber; }

    void setFont(int size, bool bold = false, bool underline = false);
    // Texts in points: starting at x, ending at x, or centred on x.
    void text(int32_t x, int32_t y, std::string_view s);
    void rightText(int32_t x, int32_t y, std::string_view s);
    void centredText(int32_t x, int32_t y, std::string_view s);
    // A rule across the body, from 36 to 545 points.
    void rule(int32_t y);

    // The width of a text at a size of the font in use, in the printer's dots; the font
    // stays as it was. A width in points as the printer's dots across.
    int textWidthAt(std::string_view s, int size);
    int32_t dotsAcross(int32_t points) const { return scale_.dotsX(points); }

private:
    void beginCopy(const std::string& jobTitle);

    PrintSession& session_;
    PointScale scale_;
    int fromPage_ = 1;
    int toPage_ = 9999;
    int32_t pageNumber_ = 0;
    bool inRange_ = false;
    // The document's first sheet comes with it: a new sheet is taken only after a page
    // has been drawn, so that no copy starts with an empty one.
    bool sheetDrawn_ = false;
    platform::FontSpec font_;
};

} // namespace quillan
