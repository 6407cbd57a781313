#include "core/postage/RateLine.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "core/postage/PieceCount.h"

namespace quillan {

namespace {

int amountDecimals(const StatementLines& lines) {
    return lines.permitImprint() ? 4 : 3;
}

std::string amountTextOf(const StatementLines& lines, double amount) {
    return formatMoney(amount, amountDecimals(lines), MoneyStyle::Plain);
}

double pieceLine(const SortedMailing& mailing, StatementLines& lines, int32_t pieces,
                 const Rate& rate) {
    double amount = exactProduct(rate.value, pieces);
    if (pieces != 0)
        lines.offerPieceRate(rate.value);
    std::string rateColumn = mailing.mailClass().isFirstClass() ? rate.text : "";
    lines.add({intToStr(pieces), amountTextOf(lines, amount), rateColumn});
    return amount;
}

double permitPoundLine(StatementLines& lines, double pounds, const Rate& rate) {
    double amount = exactProduct(rate.value, pounds);
    lines.add({formatMoney(pounds, 4, MoneyStyle::Grouped), amountTextOf(lines, amount), ""});
    return amount;
}

// The pieces and the amount of the line before, as printed.
struct PieceLine {
    int32_t pieces = 0;
    double amount = 0;
};

PieceLine lastPieceLine(const StatementLines& lines) {
    if (lines.size() == 0)
        return {};
    const StatementLine& last = lines.at(lines.size() - 1);
    PieceLine line;
    if (!tryStrToInt(last.quantity, line.pieces) || !tryParseMoney(last.amount, line.amount))
        return {};
    return line;
}

double affixedPoundLine(StatementLines& lines, double pounds, const Rate& rate) {
    PieceLine piece = lastPieceLine(lines);
    double sum = piece.amount + exactProduct(rate.value, pounds);
    double combined = sum == 0 || piece.pieces == 0 ? 0 : roundUpToThousandth(sum / piece.pieces);
    std::string amount = amountTextOf(lines, exactProduct(piece.pieces, combined));
    lines.add({intToStr(piece.pieces), amount, formatMoney(combined, 3, MoneyStyle::Plain)});
    lines.addCombinedRate(combined);
    return parseMoney(amount) - piece.amount;
}

} // namespace

double ComputeRateLine(const SortedMailing& mailing, StatementLines& lines, std::string_view label,
                       const RateCategory& category, const Rate& rate) {
    int32_t pieces = countRatePieces(mailing, category, lines.inCounty());
    if (label != PoundLineLabel)
        return pieceLine(mailing, lines, pieces, rate);
    double pounds = poundsOf(pieces, mailing.mailType().pieceWeight());
    if (lines.permitImprint())
        return permitPoundLine(lines, pounds, rate);
    return affixedPoundLine(lines, pounds, rate);
}

} // namespace quillan
