#include "core/postage/StatementPostage.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"

namespace quillan {

namespace {

void computeBlockLines(const SortedMailing& mailing, StatementPostage& postage) {
    for (size_t i = 0; i < postage.block.lines.size(); ++i) {
        const RateBlockLine& line = postage.block.lines[i];
        Rate rate = rateOf(mailing.rates(), line);
        double amount = ComputeRateLine(mailing, postage.lines, line.label, line.category, rate);
        postage.total = moneySum({postage.total, amount});
        if (i < postage.block.automationLines)
            postage.automationTotal = moneySum({postage.automationTotal, amount});
    }
}

int32_t piecesOfLines(const StatementLines& lines) {
    int32_t pieces = 0;
    for (const StatementLine& line : lines.lines()) {
        int32_t quantity = 0;
        if (tryStrToInt(line.quantity, quantity))
            pieces += quantity;
    }
    return pieces;
}

} // namespace

StatementPostage computeStatementPostage(const SortedMailing& mailing) {
    return computeStatementPostage(mailing, mailing.statement().permitImprint());
}

StatementPostage computeStatementPostage(const SortedMailing& mailing, bool permitImprint) {
    StatementPostage postage(permitImprint);
    MailClass mailClass = mailing.mailClass();
    postage.block = rateBlockFor(mailClass, mailing.mailType(), mailing.periodical());
    if (mailClass.isPeriodicals())
        postage.zones = computePeriodicalZoneCharges(mailing);
    computeBlockLines(mailing, postage);
    if (!postage.zones)
        return postage;
    postage.periodical = computePeriodicalCharges(mailing, *postage.zones, postage.lines.inCounty(),
                                                  postage.total, piecesOfLines(postage.lines));
    AddPeriodicalCharges(postage.lines, *postage.periodical, mailClass);
    postage.total = postage.periodical->outsideCountyPostage;
    return postage;
}

} // namespace quillan
