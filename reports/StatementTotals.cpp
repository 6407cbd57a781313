#include "reports/StatementTotals.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "reports/PeriodicalStatementTexts.h"

namespace quillan {

namespace {

enum Place : int {
    Total = 17,
    AffixedTick = 18,
    AffixedPieces = 19,
    LowestRate = 20,
    AffixedPostage = 21,
    AdditionalPostage = 22,
};

constexpr int TotalSize = 10;

StatementText leftAt(double x, double y, std::string text) {
    return StatementText::at(x, y, std::move(text), StatementText::Left, TotalSize);
}

StatementText atPlace(const FormLayout& layout, int place, std::string text, double dx = 0) {
    return leftAt(layout.x(place) + dx, layout.y(place), std::move(text));
}

// The heights of the four-decimal totals beside the parts of the postage box, which the
// Regular permit-imprint Standard forms lay out apart from the others.
struct BlockTotal {
    double y;
    double amount;
};

std::vector<BlockTotal> blockTotals(const SortedMailing& mailing, const StatementPostage& postage) {
    bool regular = mailing.mailType().regularRates();
    bool permit = mailing.statement().permitImprint();
    bool regularPermit = regular && permit;
    double total = postage.total;
    switch (postage.block.number) {
    case 1:
    case 3:
    case 4:
        return {{regularPermit ? 362.0 : 342.0, total}};
    case 2:
        return {{271, total}};
    case 5:
        return {{331, total}};
    case 6:
        return {{281, total}};
    case 7:
        return {{regular ? 289.0 : permit ? 296.0 : 269.0, total}};
    case 8:
    case 9:
        return {{regularPermit ? 315.0 : 307.0, total}};
    case 10:
    case 11:
        return {{293, total}};
    case 12:
        return {{regularPermit ? 293.0 : 289.0, postage.automationTotal},
                {regularPermit ? 315.0 : 307.0, moneySum({total, -postage.automationTotal})}};
    default:
        return {};
    }
}

} // namespace

std::vector<StatementText> affixedPostageTexts(const SortedMailing& mailing,
                                               const StatementPostage& postage,
                                               const FormLayout& layout) {
    if (mailing.statement().correctPostageAffixed())
        return {atPlace(layout, AffixedTick, "x")};
    std::vector<StatementText> texts = {atPlace(layout, AffixedTick, "x", 50)};
    int32_t pieces = mailing.pieceCount();
    texts.push_back(atPlace(layout, AffixedPieces, intToStr(pieces)));
    double lowest = postage.lines.lowestPieceRate();
    if (lowest == StatementLines::NoPieceRate)
        return texts;
    double affixed = exactProduct(pieces, lowest);
    texts.push_back(atPlace(layout, LowestRate, formatMoney(lowest, 3, MoneyStyle::Plain)));
    texts.push_back(atPlace(layout, AffixedPostage, currencyTotalText(affixed)));
    texts.push_back(
        atPlace(layout, AdditionalPostage, currencyTotalText(moneySum({postage.total, -affixed}))));
    return texts;
}

std::vector<StatementText> pageOneTotalTexts(const SortedMailing& mailing,
                                             const StatementPostage& postage,
                                             const FormLayout& layout) {
    std::vector<StatementText> texts;
    if (postage.zones && postage.periodical) {
        appendTexts(texts, zoneTableTexts(*postage.zones));
        appendTexts(texts, periodicalTotalTexts(*postage.periodical));
        return texts;
    }
    std::vector<BlockTotal> totals = blockTotals(mailing, postage);
    if (totals.empty())
        return texts;
    for (const BlockTotal& total : totals)
        texts.push_back(leftAt(layout.x(Total), total.y, currencyText(total.amount)));
    texts.push_back(atPlace(layout, Total, currencyTotalText(postage.total)));
    if (!mailing.statement().permitImprint())
        appendTexts(texts, affixedPostageTexts(mailing, postage, layout));
    return texts;
}

} // namespace quillan
