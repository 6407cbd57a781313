#include "printouts/PrintRun.h"

#include "core/Convert.h"
#include "core/ShortDate.h"
#include "reports/PrintCopies.h"

namespace quillan {

PrintRun::PrintRun(PrintSession& session) : session_(session) {}

void PrintRun::applyFont() {
    printer().setFont(font_);
}

void PrintRun::setFontName(const std::string& name) {
    font_.name = name;
    applyFont();
}

void PrintRun::setFontSize(int size) {
    font_.size = size;
    applyFont();
}

void PrintRun::setFontStyle(bool bold, bool italic) {
    font_.bold = bold;
    font_.italic = italic;
    font_.underline = false;
    applyFont();
}

void PrintRun::setFont(int size, bool bold, bool italic) {
    font_.size = size;
    setFontStyle(bold, italic);
}

std::string PrintRun::headerTitle(const std::string& kind) const {
    if (kind != "sort")
        return kind;
    return mailPrepMode ? "Quillan Mail Preparation Instructions" : "Quillan Verification Report";
}

// Tags have no header: their first row starts at 36 pt from the sheet's top edge, or at
// 180 pt when the printer cannot print that high.
void PrintRun::moveToTagTop() {
    int offset = printer().printableOffset().y;
    int top = offset <= dotsY(36) ? dotsY(36) : dotsY(180);
    printer().moveTo(0, top - offset);
}

void PrintRun::StartReportPage(const std::string& kind, bool onFirstSheet) {
    int32_t& runPage = session_.runPageNumber;
    if (session_.cancelled())
        session_.stopPrinting = true;
    // Pages before the From page stay on the first sheet, laid out but never drawn.
    if (runPage >= fromPage() && !session_.stopPrinting && !onFirstSheet)
        printer().newPage();
    ++runPage;
    ++reportPageNumber;
    servicePrintingBox(session_);
    if (runPage >= fromPage())
        pageInRange = true;

    printer().moveTo(0, dotsY(36));
    int previousSize = font_.size;
    font_.bold = font_.underline = false;
    font_.italic = true;
    setFontSize(12);
    if (kind == "sacks") {
        moveToTagTop();
    } else {
        std::string header =
            headerTitle(kind) + " - " + todayShortDate() + " - Page " + intToStr(reportPageNumber);
        int y = printer().penPosition().y;
        int x = printer().pageWidth() - dotsX(36) - printer().textWidth(header);
        if (drawing())
            printer().textOut(x, y, header);
        printer().moveTo(dotsX(36), y + dotsY(30));
        setFontSize(previousSize);
    }
    setFontStyle(false, false);
}

bool PrintRun::nextPageOrStop(const std::string& kind) {
    if (session_.runPageNumber < toPage())
        StartReportPage(kind);
    else
        session_.stopPrinting = true;
    return !session_.stopPrinting;
}

void PrintRun::setUpCopy(const std::string& jobTitle) {
    session_.stopPrinting = false;
    beginPrintDocument(printer(), jobTitle);
    // The device's own resolution sizes the font, so 12 pt is 12 pt on any printer.
    font_ = platform::FontSpec{"Arial", 12, false, false, false};
    applyFont();
    scale_ = PointScale::forResolution(printer().dpiX(), printer().dpiY());
    printer().moveTo(0, 0);
}

void PrintRun::runCopies(const std::string& jobTitle, const std::function<void()>& printCopy) {
    printEachCopy(session_, [&] {
        setUpCopy(jobTitle);
        printCopy();
    });
}

} // namespace quillan
