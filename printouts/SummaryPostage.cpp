#include "printouts/SummaryPostage.h"

#include "core/money/Money.h"
#include "core/postage/StatementPostage.h"

namespace quillan {

namespace {

SummaryPostageRow rowOf(const RateBlockLine& line, const StatementLine& priced,
                        const std::string& rateText) {
    double amount = parseMoney(priced.amount);
    return {line, rateText, priced.quantity, currencyText(amount), amount};
}

} // namespace

// The rows show the lines as a permit-imprint statement prints them, pounds on the pound
// rows. Postage paid by meter or stamps is affixed piece by piece at the combined rate of a
// piece and its pounds, rounded up to the next tenth of a cent, as the statement charges it:
// there each piece row and its pound row are one row at that rate. The totals are the
// statement's own.
SummaryPostage computeSummaryPostage(const SortedMailing& mailing) {
    StatementPostage statement = computeStatementPostage(mailing);
    StatementPostage permit =
        statement.lines.permitImprint() ? statement : computeStatementPostage(mailing, true);
    SummaryPostage summary;
    summary.block = statement.block;
    // Periodicals: the piece lines' postage, which the charges go on from.
    summary.total = statement.periodical ? statement.periodical->piecePostage : statement.total;
    summary.automationTotal = statement.automationTotal;
    summary.zones = statement.zones;
    summary.periodical = statement.periodical;
    bool affixed = !statement.lines.permitImprint();
    for (size_t i = 0; i < statement.block.lines.size(); ++i) {
        const RateBlockLine& line = statement.block.lines[i];
        if (affixed && line.isPoundLine() && !summary.rows.empty()) {
            SummaryPostageRow& pair = summary.rows.back();
            const StatementLine& priced = statement.lines.at(i);
            pair = rowOf(pair.line, priced, priced.rate);
            continue;
        }
        summary.rows.push_back(rowOf(line, permit.lines.at(i), rateOf(mailing.rates(), line).text));
    }
    return summary;
}

} // namespace quillan
