#include "reports/ReportPages.h"

#include "reports/PrintCopies.h"

namespace quillan {

namespace {

constexpr int32_t BodyLeft = 36;
constexpr int32_t BodyRight = 545;

} // namespace

ReportPages::ReportPages(PrintSession& session) : session_(session) {}

void ReportPages::printCopies(const std::string& jobTitle, const std::function<void()>& printCopy) {
    printEachCopy(session_, [&] {
        beginCopy(jobTitle);
        printCopy();
    });
}

void ReportPages::beginCopy(const std::string& jobTitle) {
    platform::PrinterDevice& printer = session_.printer;
    // A page number that is not a whole number is reported before any sheet is taken.
    fromPage_ = session_.job.fromPage();
    toPage_ = session_.job.toPage();
    session_.stopPrinting = false;
    beginPrintDocument(printer, jobTitle);
    // The device's own resolution sizes the font, so 12 pt is 12 pt on any printer.
    setFont(12);
    scale_ = PointScale::forResolution(printer.dpiX(), printer.dpiY());
    // Right after a sort the page numbers run on from the reports printed before.
    if (!session_.justSorted)
        session_.runPageNumber = 0;
    pageNumber_ = 0;
    sheetDrawn_ = false;
    printer.moveTo(0, 0);
    inRange_ = session_.runPageNumber + 1 >= fromPage_;
}

void ReportPages::startPage() {
    int32_t& runPage = session_.runPageNumber;
    if (session_.cancelled())
        stop();
    if (sheetDrawn_ && !stopped())
        session_.printer.newPage();
    ++runPage;
    ++pageNumber_;
    servicePrintingBox(session_);
    if (runPage >= fromPage_)
        inRange_ = true;
    if (drawing())
        sheetDrawn_ = true;
    setFont(10);
}

bool ReportPages::runsOff(int32_t y, int32_t margin) const {
    return scale_.dotsY(y + margin) > session_.printer.pageHeight();
}

int32_t ReportPages::breakPage(int32_t y, int32_t margin,
                               const std::function<int32_t()>& nextPage) {
    if (stopped() || !runsOff(y, margin))
        return y;
    return takePageBreak(y, nextPage);
}

int32_t ReportPages::takePageBreak(int32_t y, const std::function<int32_t()>& nextPage) {
    if (stopped())
        return y;
    if (toPage_ > runPageNumber())
        return nextPage();
    stop();
    return y;
}

void ReportPages::setFont(int size, bool bold, bool underline) {
    font_ = platform::FontSpec{"Arial", size, bold, false, underline};
    session_.printer.setFont(font_);
}

void ReportPages::text(int32_t x, int32_t y, std::string_view s) {
    if (drawing() && !s.empty())
        session_.printer.textOut(scale_.dotsX(x), scale_.dotsY(y), s);
}

void ReportPages::rightText(int32_t x, int32_t y, std::string_view s) {
    if (!drawing() || s.empty())
        return;
    platform::PrinterDevice& printer = session_.printer;
    printer.textOut(scale_.dotsX(x) - printer.textWidth(s), scale_.dotsY(y), s);
}

void ReportPages::centredText(int32_t x, int32_t y, std::string_view s) {
    if (!drawing())
        return;
    platform::PrinterDevice& printer = session_.printer;
    printer.textOut(scale_.dotsX(x) - printer.textWidth(s) / 2, scale_.dotsY(y), s);
}

int ReportPages::textWidthAt(std::string_view s, int size) {
    platform::FontSpec font = font_;
    font.size = size;
    session_.printer.setFont(font);
    int width = session_.printer.textWidth(s);
    session_.printer.setFont(font_);
    return width;
}

void ReportPages::rule(int32_t y) {
    if (!drawing())
        return;
    platform::PrinterDevice& printer = session_.printer;
    printer.moveTo(scale_.dotsX(BodyLeft), scale_.dotsY(y));
    printer.lineTo(scale_.dotsX(BodyRight), scale_.dotsY(y));
}

} // namespace quillan
