#include "printouts/PostageComputation.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"

#include <initializer_list>
#include <utility>

namespace quillan {

namespace {

using R = RateTable;

bool isPiecePoundPart(const std::string& formPart) {
    return !formPart.empty() && (formPart[0] == 'D' || formPart[0] == 'J');
}

std::string totalWithStars(double amount) {
    return currencyTotalText(amount) + "**";
}

// What follows y and takes `points` goes on the next page when it would run off this one
// (or, at the To page, printing stops). Returns the y to draw it at.
int keepOnPage(PageLayout& page, int y, long double points) {
    if (y + page.y(points) <= page.printer().pageHeight())
        return y;
    if (!page.run().nextPageOrStop("sort"))
        return y;
    return page.penY();
}

// Draws the rows of the computation one under another, in the columns of the form's back.
// Compact rows, for the many rows of pieces priced by the piece and the pound, stand 11 pt
// apart in a 9-pt face (so that one line does not run into the next) and without the
// space before each group.
class RowPrinter {
public:
    RowPrinter(PageLayout& page, const SortedMailing& mailing, bool compact)
        : page_(page), periodicals_(mailing.mailClass().isPeriodicals()),
          fontSize_(compact ? 9 : 12), step_(compact ? 11 : 14), compact_(compact) {}

    // Rows [from, to) from y; First-Class rows stand a line apart. Returns the next row's y.
    int rows(const std::vector<SummaryPostageRow>& rows, size_t from, size_t to, int y,
             bool lineApart = false) {
        page_.font(fontSize_);
        for (size_t i = from; i < to && i < rows.size(); ++i) {
            if (lineApart && i > from)
                y += page_.y(14);
            y = row(rows[i], y);
        }
        return y;
    }

private:
    // A row that opens a group names it (the entry discount; for Periodicals the level)
    // and, in 12-pt rows outside Periodicals, stands a little apart from the group before.
    int row(const SummaryPostageRow& r, int y) {
        bool opensGroup = r.line.rowVariant == 0;
        if (opensGroup && !periodicals_ && !compact_)
            y += page_.y(8);
        y = keepOnPage(page_, y, step_);
        page_.font(fontSize_);
        if (opensGroup)
            page_.text(72, y,
                       periodicals_ ? levelText(r.line.category.level)
                                    : entryText(r.line.category.entry));
        page_.text(162, y, r.line.label);
        if (periodicals_) {
            page_.textEndingAt(360, y, r.quantity);
            page_.text(405, y, r.rateText);
        } else {
            page_.text(324, y, r.rateText);
            page_.textEndingAt(441, y, r.quantity);
        }
        page_.amountAt(513, y, r.amountText);
        return y + page_.y(step_);
    }

    PageLayout& page_;
    bool periodicals_;
    int fontSize_;
    long double step_;
    bool compact_;
};

// A caption at x 72 and its amount, below a rule: the totals of the Periodicals page.
int ruledTotal(PageLayout& page, int y, int ruleGap, long double captionX,
               const std::string& caption, double amount) {
    y = keepOnPage(page, y, ruleGap + 8 + 14);
    y += page.y(ruleGap);
    page.rule(y);
    y += page.y(8);
    page.text(captionX, y, caption);
    page.amountAt(513, y, currencyText(amount));
    return y;
}

int printStandardTotals(PageLayout& page, const SummaryPostage& postage,
                        const std::string& formPart, bool partsAandB, int y) {
    if (!partsAandB) {
        page.text(72, y,
                  "Total - Part " + formPart.substr(0, 1) +
                      " (Carry to front. Round to whole ¢ on Total Postage line.)");
        page.amountAt(513, y, currencyText(postage.total));
        return y;
    }
    page.text(72, y, "Total - Part B (Carry to front.)");
    page.amountAt(513, y, currencyText(moneySum({postage.total, -postage.automationTotal})));
    y += page.y(14);
    page.rule(y);
    y += page.y(6);
    page.text(72, y, "Total Postage - Enter on front of form.");
    page.amountAt(513, y, totalWithStars(postage.total));
    return y;
}

// Co-sacked Standard flats: Part A, the barcoded pieces, with its total; then Part B.
int printCoSackedParts(PageLayout& page, const SummaryPostage& postage, RowPrinter& rows, int y) {
    size_t partA = postage.block.automationLines;
    page.font(14, true);
    page.text(36, y, "A");
    y = rows.rows(postage.rows, 0, partA, y);
    y += page.y(6);
    page.rule(y);
    y += page.y(6);
    page.text(72, y, "Total - Part A (Carry to front.)");
    page.amountAt(513, y, currencyText(postage.automationTotal));
    y += page.y(14);
    page.font(14, true);
    page.text(36, y, "B");
    return rows.rows(postage.rows, partA, postage.rows.size(), y);
}

// The piece-and-pound computation of RAL and RCOF holds more rate rows than the others and
// prints them in compact rows.
bool hasCompactRows(MailClass mailClass, bool piecePound) {
    return piecePound && (mailClass == MailClass::RAL || mailClass == MailClass::RCOF);
}

void printStandardComputation(PageLayout& page, const SortedMailing& mailing,
                              const SummaryPostage& postage, const std::string& formPart, int y) {
    MailClass mailClass = mailing.mailClass();
    bool piecePound = isPiecePoundPart(formPart);
    RowPrinter rows(page, mailing, hasCompactRows(mailClass, piecePound));
    bool partsAandB = mailClass == MailClass::RCOF && !piecePound;
    if (mailClass.isFirstClass()) {
        y += page.y(14);
        page.font(12);
        page.text(72, y, "Automation");
        y = rows.rows(postage.rows, 0, postage.rows.size(), y, true);
    } else if (partsAandB) {
        y = printCoSackedParts(page, postage, rows, y);
    } else {
        y = rows.rows(postage.rows, 0, postage.rows.size(), y);
    }
    page.font(12);
    y += page.y(mailClass == MailClass::RCOF ? 5 : 10);
    page.rule(y);
    y += page.y(6);
    y = printStandardTotals(page, postage, formPart, partsAandB, y);
    page.moveTo(54, y);
}

int printOutsideCountyTotals(PageLayout& page, const SortedMailing& mailing,
                             const PeriodicalCharges& charges, double pieceTotal, int y) {
    const RateTable& rates = mailing.rates();
    R::Base base = periodicalBase(mailing.periodical());
    y = keepOnPage(page, y, 14);
    page.text(72, y, "Subtotals");
    page.textEndingAt(360, y, intToStr(charges.outsideCountyPieces));
    page.amountAt(513, y, currencyText(pieceTotal));
    y += page.y(20);
    page.rule(y);
    y += page.y(14);
    auto discountRow = [&](const char* caption, const std::string& count, long place,
                           double amount) {
        y = keepOnPage(page, y, 14);
        page.text(72, y, caption);
        page.textEndingAt(360, y, count);
        page.text(405, y, rates.rateText(base, place));
        page.amountAt(513, y, currencyText(amount));
    };
    discountRow("Nonadvertising Percentage",
                formatMoney(charges.nonadvertisingPercent, 2, MoneyStyle::Grouped),
                R::NonadvertisingPieceRate, charges.nonadvertisingAdjustment);
    y += page.y(14);
    discountRow("Number of Addressed Pieces at DSCF rate", intToStr(charges.dscfPieces),
                R::ScfPieceDiscount, charges.scfDiscount);
    y += page.y(14);
    discountRow("Number of Addressed Pieces at DADC rate", intToStr(charges.dadcPieces),
                R::AdcPieceDiscount, charges.adcDiscount);
    y = ruledTotal(page, y, 20, 72, "Total Piece Rate Discount (Line 40)",
                   charges.adjustmentsAndDiscounts);
    y = ruledTotal(page, y, 20, 72, "Total Piece Rate Postage (Line 41)",
                   charges.piecePostageLessDiscounts);
    y = keepOnPage(page, y, 20 + 8 + 14);
    y += page.y(20);
    page.rule(y);
    y += page.y(8);
    if (charges.reductionBase) {
        page.text(54, y, "Subtotal (Line 42): " + currencyText(charges.withPoundCharges));
        page.text(250, y,
                  "Line 43: 5% discount " + currencyText(*charges.reductionBase) + " x .05=");
        page.amountAt(513, y, currencyText(charges.reduction));
    } else {
        page.text(54, y, "Subtotal (Line 42)");
        page.amountAt(513, y, currencyText(charges.withPoundCharges));
    }
    return ruledTotal(page, y, 20, 54, "Total Outside County Postage (Line 46 and enter on front.)",
                      charges.outsideCountyPostage);
}

using TableColumns = std::initializer_list<std::pair<long double, const char*>>;

// The head of a Periodicals rate table: its title, the column heads 20 pt below it and a
// rule 22 pt under them. Returns the rule's y.
int printRateTableHead(PageLayout& page, int y, const char* title, TableColumns columns) {
    page.text(54, y, title);
    y += page.y(20);
    for (const auto& [x, head] : columns)
        page.text(x, y, head);
    y += page.y(22);
    page.rule(y);
    return y;
}

// A table's head stays on the page of its first row.
constexpr long double TableHeadAndRow = 20 + 22 + 14 + 14;

int printInCountyPounds(PageLayout& page, const PeriodicalCharges& charges, bool coSacked, int y) {
    long double gap = coSacked ? 20 : 28;
    y = keepOnPage(page, y, gap + TableHeadAndRow);
    y += page.y(gap);
    y = printRateTableHead(page, y, "In-County Pound Rate:",
                           {{72, "Entry"},
                            {133, "Total Copies"},
                            {229, "Total Pounds"},
                            {406, "Rate"},
                            {490, "Postage"}});
    y += page.y(14);
    page.text(72, y, "None");
    page.textEndingAt(180, y, intToStr(charges.inCountyPieces));
    page.textEndingAt(274, y, intToStr(charges.inCountyPounds));
    page.text(405, y, charges.inCountyPoundRateText);
    page.amountAt(513, y, currencyText(charges.inCountyPoundCharge));
    return ruledTotal(page, y, 22, 72, "Total In-County Pound Rate Postage (Line 53)",
                      charges.inCountyPoundCharge);
}

const char* inCountyKindText(MailClass mailClass) {
    if (mailClass == MailClass::PAL)
        return "Automation Letters";
    if (mailClass.isPeriodicals() && mailClass.isBarcodedFlats())
        return "Automation Flats";
    return "Nonautomation";
}

int printInCountyPieces(PageLayout& page, const PeriodicalCharges& charges, MailClass mailClass,
                        int y) {
    bool coSacked = mailClass.isCoSacked();
    long double gap = coSacked ? 20 : 28;
    y = keepOnPage(page, y, gap + TableHeadAndRow);
    y += page.y(gap);
    y = PrintPieceRateHead(page, y, "In-County Piece Rate:");
    y += page.y(coSacked ? 6 : 14);
    auto row = [&](const char* level, const char* kind, const InCountyPieceLine& line) {
        y = keepOnPage(page, y, 14);
        page.text(72, y, level);
        page.text(162, y, kind);
        page.textEndingAt(360, y, intToStr(line.pieces));
        page.text(405, y, line.rateText);
        page.amountAt(513, y, currencyText(line.amount));
        y += page.y(14);
    };
    // The charges hold the barcoded levels first; co-sacked pieces without ZIP+4 follow them
    // but print first within their level, as the form has them.
    const char* levels[] = {"Basic", "3-Digit", "5-Digit"};
    const std::vector<InCountyPieceLine>& lines = charges.inCountyLines;
    for (size_t level = 0; level < 3 && level < lines.size(); ++level) {
        if (coSacked && level + 3 < lines.size())
            row(levels[level], "Nonautomation", lines[level + 3]);
        row(levels[level], inCountyKindText(mailClass), lines[level]);
    }
    y = keepOnPage(page, y, 22 + 8 + 14);
    y += page.y(22);
    page.rule(y);
    y += page.y(8);
    page.text(72, y, "Subtotals (Line 68)");
    page.textEndingAt(360, y, intToStr(charges.inCountyLinePieces));
    page.amountAt(513, y, currencyText(charges.inCountyPieceCharge));
    y = ruledTotal(page, y, 22, 72, "Total In-County Piece Rate Postage (Line 70)",
                   charges.inCountyPieceCharge);
    return ruledTotal(page, y, 22, 72, "Total In-County Postage (Line 73 and enter on front.)",
                      charges.inCountyPostage);
}

void printPeriodicalComputation(PageLayout& page, const SortedMailing& mailing,
                                const SummaryPostage& postage, int y) {
    MailClass mailClass = mailing.mailClass();
    const PeriodicalCharges& charges = *postage.periodical;
    RowPrinter rows(page, mailing, false);
    y += page.y(mailClass.isCoSacked() ? 6 : 14);
    y = rows.rows(postage.rows, 0, postage.rows.size(), y);
    y += page.y(10);
    page.rule(y);
    y += page.y(6);
    y = printOutsideCountyTotals(page, mailing, charges, postage.total, y);
    y = printInCountyPounds(page, charges, mailClass.isCoSacked(), y);
    y = printInCountyPieces(page, charges, mailClass, y);
    y = keepOnPage(page, y, 22 + 8 + 14);
    y += page.y(22);
    page.rule(y);
    y += page.y(8);
    page.text(54, y, "Total Postage (Enter on front.)");
    page.amountAt(513, y, totalWithStars(charges.totalPostage));
    page.moveTo(54, y);
}

} // namespace

int PrintPieceRateHead(PageLayout& page, int y, const char* title) {
    return printRateTableHead(
        page, y, title,
        {{72, "Presort Discount"}, {306, "Addressed Pcs."}, {406, "Rate"}, {490, "Postage"}});
}

void PrintPostageComputation(PageLayout& page, const SortedMailing& mailing,
                             const SummaryPostage& postage, std::string formPart, int y) {
    if (postage.periodical)
        printPeriodicalComputation(page, mailing, postage, y);
    else
        printStandardComputation(page, mailing, postage, formPart, y);
}

void PrintPoundRateTable(PageLayout& page, const SummaryPostage& postage) {
    if (!postage.zones)
        return;
    const PeriodicalZoneCharges& zones = *postage.zones;
    page.font(12);
    int y = page.penY() + page.y(20);
    page.text(54, y, "Outside-County Pound Rate:");
    y += page.y(20);
    page.text(152, y, "Total");
    page.text(253, y, "Total");
    page.text(322, y, "Advertising");
    y += page.y(14);
    const std::pair<long double, const char*> heads[] = {{72, "Zone"},    {148, "Copies"},
                                                         {247, "Pounds"}, {330, "Pounds"},
                                                         {406, "Rate"},   {490, "Postage"}};
    for (const auto& [x, head] : heads)
        page.text(x, y, head);
    y += page.y(22);
    page.rule(y);
    y += page.y(14);
    auto row = [&](std::string_view label, const ZoneChargeRow& r) {
        page.text(72, y, label);
        page.textEndingAt(180, y, intToStr(r.pieces));
        page.textEndingAt(274, y, intToStr(r.pounds));
        page.textEndingAt(362, y, intToStr(r.advertisingPounds));
        page.text(405, y, r.rateText);
        page.amountAt(513, y, currencyText(r.charge));
    };
    for (const ZoneChargeRow& r : zones.rows) {
        row(r.label, r);
        y += page.y(14);
    }
    y += page.y(8);
    page.rule(y);
    y += page.y(8);
    row("Subtotals", zones.totals);
    y += page.y(28);
    page.text(72, y, "Nonadvertising Pounds");
    page.textEndingAt(274, y, intToStr(std::max(zones.nonadvertisingPounds, 0)));
    page.text(405, y, zones.nonadvertisingRateText);
    page.amountAt(513, y, currencyText(zones.nonadvertisingCharge));
    y += page.y(20);
    page.rule(y);
    y += page.y(14);
    page.amountAt(513, y, currencyText(zones.poundCharge));
    page.text(72, y, "Total Pound Rate Postage (Line 13)");
    y += page.y(36);
    page.text(180, y, "(Postage Computation Continued on Next Page)");
    page.moveTo(54, y);
}

} // namespace quillan
