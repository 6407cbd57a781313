#include "printouts/SummaryPostage.h"

#include "core/Convert.h"
#include "core/money/Money.h"
#include "core/postage/StatementPostage.h"

namespace quillan {

SummaryPostage computeSummaryPostage(const SortedMailing& mailing) {
    StatementPostage statement = computeStatementPostage(mailing, true);
    SummaryPostage summary;
    summary.block = statement.block;
    int32_t piecesOfRows = 0;
    for (size_t i = 0; i < statement.block.lines.size(); ++i) {
        const RateBlockLine& line = statement.block.lines[i];
        const StatementLine& priced = statement.lines.at(i);
        SummaryPostageRow row{line, rateOf(mailing.rates(), line).text, priced.quantity, "", 0};
        row.amount = parseMoney(priced.amount);
        row.amountText = currencyText(row.amount);
        summary.total += row.amount;
        if (i < statement.block.automationLines)
            summary.automationTotal += row.amount;
        if (!line.isPoundLine())
            piecesOfRows += strToInt(priced.quantity);
        summary.rows.push_back(std::move(row));
    }
    if (!statement.zones)
        return summary;
    // The charges that follow the piece rows start from their printed sum.
    summary.zones = statement.zones;
    summary.periodical = computePeriodicalCharges(
        mailing, *statement.zones, statement.lines.inCounty(), summary.total, piecesOfRows);
    return summary;
}

} // namespace quillan
