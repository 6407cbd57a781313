#include "reports/ReportPages.h"

#include "reports/PrintCopies.h"

namespace quillan {

namespace {

constexpr int32_t BodyLeft = 36;
constexpr int32_t BodyRight = 545;

} // namespace

ReportPages::ReportPages(AppContext& ctx, PrintJobControl& job) : ctx_(ctx), job_(job) {}

void ReportPages::printCopies(const std::string& jobTitle, const std::function<void()>& printCopy) {
    printEachCopy(ctx_, job_, [&] {
        beginCopy(jobTitle);
        printCopy();
    });
}

void ReportPages::beginCopy(const std::string& jobTitle) {
    platform::PrinterDevice& printer = ctx_.platform.printer;
    // A page number that is not a whole number is reported before any sheet is taken.
    fromPage_ = job_.fromPage();
    toPage_ = job_.toPage();
    ctx_.flags.stopPrinting = false;
    beginPrintDocument(printer, jobTitle);
    // The device's own resolution sizes the font, so 12 pt is 12 pt on any printer.
    setFont(12);
    scale_ = PointScale::forResolution(printer.dpiX(), printer.dpiY());
    // Right after a sort the page numbers run on from the reports printed before.
    if (!ctx_.flags.justSorted)
        ctx_.counters.runPageNumber = 0;
    pageNumber_ = 0;
    sheetDrawn_ = false;
    printer.moveTo(0, 0);
    inRange_ = ctx_.counters.runPageNumber + 1 >= fromPage_;
}

void ReportPages::startPage() {
    int32_t& runPage = ctx_.counters.runPageNumber;
    if (ctx_.flags.printCancelled)
        stop();
    if (sheetDrawn_ && !stopped())
        ctx_.platform.printer.newPage();
    ++runPage;
    ++pageNumber_;
    servicePrintingBox(ctx_, job_);
    if (runPage >= fromPage_)
        inRange_ = true;
    if (drawing())
        sheetDrawn_ = true;
    setFont(10);
}

bool ReportPages::runsOff(int32_t y, int32_t margin) const {
    return scale_.dotsY(y + margin) > ctx_.platform.printer.pageHeight();
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
    ctx_.platform.printer.setFont(font_);
}

void ReportPages::text(int32_t x, int32_t y, std::string_view s) {
    if (drawing() && !s.empty())
        ctx_.platform.printer.textOut(scale_.dotsX(x), scale_.dotsY(y), s);
}

void ReportPages::rightText(int32_t x, int32_t y, std::string_view s) {
    if (!drawing() || s.empty())
        return;
    platform::PrinterDevice& printer = ctx_.platform.printer;
    printer.textOut(scale_.dotsX(x) - printer.textWidth(s), scale_.dotsY(y), s);
}

void ReportPages::centredText(int32_t x, int32_t y, std::string_view s) {
    if (!drawing())
        return;
    platform::PrinterDevice& printer = ctx_.platform.printer;
    printer.textOut(scale_.dotsX(x) - printer.textWidth(s) / 2, scale_.dotsY(y), s);
}

void ReportPages::rule(int32_t y) {
    if (!drawing())
        return;
    platform::PrinterDevice& printer = ctx_.platform.printer;
    printer.moveTo(scale_.dotsX(BodyLeft), scale_.dotsY(y));
    printer.lineTo(scale_.dotsX(BodyRight), scale_.dotsY(y));
}

} // namespace quillan
