#include "printouts/ReportSummary.h"

#include "core/Convert.h"
#include "core/ShortDate.h"
#include "core/money/ExactProduct.h"
#include "printouts/PostageComputation.h"
#include "printouts/SummaryTexts.h"
#include "reports/PrintCopies.h"
#include "reports/StatementDigits.h"

namespace quillan {

namespace {

// Shows the page in the "Printing" box; the page is drawn when it lies in the range.
void beginFirstPage(PageLayout& page) {
    PrintRun& run = page.run();
    int32_t runPage = run.session().runPageNumber;
    run.pageInRange = run.fromPage() <= runPage && runPage <= run.toPage();
    servicePrintingBox(run.session());
}

void printHead(PageLayout& page, const std::string& title) {
    platform::PrinterDevice& printer = page.printer();
    int width = printer.pageWidth();
    page.font(14, true);
    page.textAtDots((width - printer.textWidth(title)) / 2 + page.x(18), page.y(36), title);
    if (page.drawing()) {
        printer.setPen(platform::colors::Black, page.x(2), platform::PenStyle::Solid);
        printer.roundRect(page.x(36), page.y(34), page.x(180), page.y(79), page.x(12), page.y(12));
        printer.setPen(platform::colors::Black, 1, platform::PenStyle::Solid);
        printer.stretchBitmap(page.run().session().dataFolder + LogoFileName, page.x(52),
                              page.y(41), page.x(84) - page.x(52), page.y(73) - page.y(41));
    }
    page.font(4);
    page.text(86, page.y(70), "TM");
    page.font(12, true);
    page.text(108, page.y(41), "Quillan");
    page.text(115, page.y(56), "Presort");
    page.font(12, false, true);
    std::string date = todayShortDate();
    page.textAtDots((width - printer.textWidth(date)) / 2 + page.x(10), page.y(54), date);
}

void printRejectsNote(PageLayout& page, long double headY, const char* const lines[3],
                      const long double lineY[3]) {
    page.font(12, true);
    page.text(36, page.y(headY), "Rejected Zip Codes Information:");
    page.font(10);
    for (int i = 0; i < 3; ++i)
        page.text(54, page.y(lineY[i]), lines[i]);
}

void printSettings(PageLayout& page, const SortedMailing& mailing) {
    const PrintSession& session = page.run().session();
    page.font(12, true);
    page.text(36, page.y(99), "Software Settings:");
    page.font(12);
    page.text(54, page.y(118), mailingSettingsLine(mailing));
    page.text(54, page.y(132), originLine(mailing));
    page.text(54, page.y(146),
              "Quillan Windows Version " + session.programVersion + " - Released " +
                  session.ratesDate + " - PAVE GOLD certified");
    static const char* const note[3] = {
        "Quillan rejects any zip codes that do not have five or nine digits, or that have only "
        "five digits for auto",
        "mailings (if you select that option), or whose first three digits do not match a "
        "listing on the USPS list of 3-digit",
        "zip code areas. All rejected zip codes are included in a \"Rejected Zip Codes\" list "
        "at the end of this report."};
    static const long double noteY[3] = {195, 207, 219};
    printRejectsNote(page, 173, note, noteY);
    page.font(12);
    page.text(54, page.y(236),
              "Pieces rejected (not counted in Postage Form Information below):  " +
                  intToStr(mailing.rejectedCount()));
}

// The figures of the form's front; returns the y below them.
int printFormFigures(PageLayout& page, const SortedMailing& mailing, const std::string& part) {
    MailClass mailClass = mailing.mailClass();
    page.font(12, true);
    page.text(36, page.y(263), "Postage Form Information:");
    page.font(10);
    int y = page.y(282);
    page.text(54, y, formLine(mailing));
    page.font(12);
    y += page.y(18);
    page.text(54, y, "Processing Category (DMM C050):  " + processingCategory(mailClass));
    y += page.y(14);
    if (mailClass.isPeriodicals()) {
        page.text(54, y,
                  "Weight per Copy for Issue: " + copyWeightText(mailing.mailType().pieceWeight()) +
                      " pounds");
        y += page.y(14);
        page.text(54, y,
                  "Advertising Percentage in This Issue: " +
                      mailing.periodical().at(PeriodicalSettings::AdvertisingPercent) + "%");
        y += page.y(14);
    } else {
        if (mailClass.isStandard()) {
            page.text(54, y, "If Sacked, Based On:  " + sackingBasis(mailing));
            y += page.y(14);
        }
        std::string pieces = "Total Pieces: " + intToStr(mailing.pieceCount());
        // Pieces priced by the pound are weighed on the form.
        if (mailClass.isStandard() && (part[0] == 'D' || part[0] == 'J'))
            pieces +=
                "   Total Weight: " +
                totalWeightText(poundsOf(mailing.pieceCount(), mailing.mailType().pieceWeight()));
        page.text(54, y, pieces);
        y += page.y(14);
    }
    ContainersLine containers = containersLine(mailing);
    page.text(54, y, containers.count);
    page.text(220, y, containers.trays);
    return y;
}

// The computation's heading and, outside Periodicals, its column heads; returns the y of
// the rule under them.
int printComputationHeads(PageLayout& page, const SortedMailing& mailing, const std::string& part,
                          int y) {
    MailClass mailClass = mailing.mailClass();
    bool periodicals = mailClass.isPeriodicals();
    bool tenPointRows = part[0] == 'J' || (part[0] == 'D' && mailClass == MailClass::RCOF);
    y += page.y(20);
    if (periodicals)
        page.text(54, y, "Postage Computation");
    else
        page.text(54, y,
                  std::string("Postage Computation - Enter on back of form in Part") +
                      (part.find("and") != std::string::npos ? "s " : " ") + part);
    y += page.y(14);
    page.text(54, y,
              "(The chart below includes only those discount categories that pertain to this "
              "type of mailing.)");
    y += page.y(tenPointRows ? 16 : 28);
    if (periodicals)
        return y;
    bool firstClass = mailClass.isFirstClass();
    page.text(162, y, "Presort/");
    y += page.y(14);
    if (!firstClass)
        page.text(72, y, "Entry");
    page.text(162, y, "Automation");
    page.text(396, y, "Number");
    y += page.y(14);
    if (!firstClass)
        page.text(72, y, "Discount");
    page.text(162, y, firstClass ? "Discount" : "Discounts");
    page.text(324, y, "Rate");
    page.text(396, y, "of Pieces");
    page.text(495, y, "Total");
    y += page.y(mailClass == MailClass::RCOF && part[0] == 'D' ? 16 : 22);
    page.rule(y);
    return tenPointRows ? y + page.y(5) : y;
}

// The second page of Periodicals: it follows the pound-rate table, unless the To page was the
// first.
int beginPeriodicalSecondPage(PageLayout& page, const SortedMailing& mailing) {
    PrintRun& run = page.run();
    run.pageInRange = false;
    if (!run.nextPageOrStop("sort"))
        return page.penY();
    int y = page.penY() + (mailing.mailClass().isCoSacked() ? 0 : page.y(14));
    page.font(12);
    return PrintPieceRateHead(page, y, "Outside-County Piece Rate:");
}

} // namespace

void PrintInstructionsSummary(PageLayout& page, const SortedMailing& mailing,
                              const SummaryPostage& postage) {
    beginFirstPage(page);
    printHead(page, "Mail Preparation Instructions");
    printSettings(page, mailing);
    std::string part = formPart(mailing);
    int y = printFormFigures(page, mailing, part);
    y = printComputationHeads(page, mailing, part, y);
    if (mailing.mailClass().isPeriodicals()) {
        page.moveTo(54, y);
        PrintPoundRateTable(page, postage);
        y = beginPeriodicalSecondPage(page, mailing);
        if (page.run().stopped())
            return;
    }
    PrintPostageComputation(page, mailing, postage, part, y);
}

void PrintVerificationSummary(PageLayout& page) {
    beginFirstPage(page);
    printHead(page, "Verification Report");
    static const char* const note[3] = {
        "Quillan rejects any zip codes that do not have five digits, nine digits, or five "
        "digits followed by a dash",
        "followed by four digits, or whose first three digits do not match a listing on the "
        "USPS list of three-digit zip code",
        "areas. All rejected zip codes are included in a \"Rejected Zip Codes\" list at the "
        "end of this report."};
    static const long double noteY[3] = {118, 130, 142};
    printRejectsNote(page, 99, note, noteY);
    page.moveTo(54, page.y(162));
}

} // namespace quillan
