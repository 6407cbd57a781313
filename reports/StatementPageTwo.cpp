#include "reports/StatementPageTwo.h"

#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "reports/StatementRows.h"
#include "reports/StatementSections.h"

#include <array>

namespace quillan {

namespace {

constexpr int RowSize = 8;

StatementText textAt(double x, double y, std::string text,
                     StatementText::Align align = StatementText::Right) {
    return StatementText::at(x, y, std::move(text), align, RowSize);
}

StatementPayment paymentOf(const SortedMailing& mailing) {
    if (mailing.statement().permitImprint())
        return StatementPayment::Permit;
    return mailing.mailType().regularRates() ? StatementPayment::AffixedRegular
                                             : StatementPayment::AffixedNonprofit;
}

// The rate column shows the combined rates of Standard pieces over 3.3 oz paid by meter or
// stamps, and the rates of First-Class letters.
bool showsRates(const SortedMailing& mailing) {
    MailClass mailClass = mailing.mailClass();
    if (mailClass.isStandard())
        return !mailing.statement().permitImprint();
    return mailClass.isFirstClass() && mailing.mailType().regularRates();
}

class PageTwo {
public:
    PageTwo(const SortedMailing& mailing, const StatementPostage& postage)
        : mailing_(mailing), postage_(postage), payment_(paymentOf(mailing)),
          rates_(showsRates(mailing)) {}

    std::vector<StatementText> texts();

private:
    void addLine(const LinePlacement& placement);
    void addSectionTotal(const SectionTotal& total);
    void addPeriodicalCharges();

    const SortedMailing& mailing_;
    const StatementPostage& postage_;
    StatementPayment payment_;
    bool rates_;
    std::vector<StatementText> texts_;
};

std::vector<StatementText> PageTwo::texts() {
    int block = postage_.block.number;
    bool permit = mailing_.statement().permitImprint();
    for (const LinePlacement& placement :
         statementLinePlacements(block, mailing_.mailClass(), permit))
        addLine(placement);
    for (const SectionTotal& total : statementSectionTotals(block, permit))
        addSectionTotal(total);
    if (postage_.periodical)
        addPeriodicalCharges();
    return std::move(texts_);
}

void PageTwo::addLine(const LinePlacement& placement) {
    std::optional<SectionColumns> columns = statementSectionColumns(placement.section);
    int y = statementSectionRowY(placement.section, placement.row, payment_);
    if (!columns || y == 0 || placement.line >= postage_.lines.size())
        return;
    const StatementLine& line = postage_.lines.at(placement.line);
    int size = statementSectionRowSize(placement.section, placement.row, payment_);
    auto add = [&](int x, const std::string& text) {
        texts_.push_back(StatementText::at(x, y, text, StatementText::Right, size));
    };
    if (rates_ && columns->rateX != 0 && !line.rate.empty())
        add(columns->rateX, line.rate);
    if (!line.quantity.empty())
        add(columns->quantityX, line.quantity);
    if (!line.amount.empty())
        add(columns->amountX, line.amount);
}

void PageTwo::addSectionTotal(const SectionTotal& total) {
    std::optional<SectionColumns> columns = statementSectionColumns(total.section);
    if (!columns)
        return;
    double amount = postage_.total;
    if (total.part == SectionTotal::Automation)
        amount = postage_.automationTotal;
    else if (total.part == SectionTotal::Rest)
        amount = moneySum({postage_.total, -postage_.automationTotal});
    texts_.push_back(
        textAt(columns->amountX, total.y, formatMoney(amount, 4, MoneyStyle::Grouped)));
}

// Where the Periodicals charges print that have no row of section P: the quantity or the
// amount of a line, right-aligned at x (the reduction base left-aligned).
struct ChargePlace {
    size_t line;
    bool amount;
    double x;
    double y;
    StatementText::Align align = StatementText::Right;
};

constexpr double SubtotalAmountX = 490; // the amount column of section P

const std::array chargePlaces = {
    ChargePlace{7, false, 180, 228},
    ChargePlace{7, true, 432, 228},
    ChargePlace{8, false, 217, 251},
    ChargePlace{8, true, 432, 251},
    ChargePlace{9, false, 217, 263},
    ChargePlace{9, true, 432, 263},
    ChargePlace{10, true, SubtotalAmountX, 298},
    ChargePlace{11, true, 561, 318},
    ChargePlace{12, true, 561, 336},
    ChargePlace{13, true, 166, 356, StatementText::Left},
    ChargePlace{14, true, SubtotalAmountX, 356},
    ChargePlace{15, true, 561, 376},
    ChargePlace{16, false, 306, 455},
    ChargePlace{17, true, 561, 478},
    ChargePlace{24, true, 561, 668},
    ChargePlace{25, true, 561, 688},
};

void PageTwo::addPeriodicalCharges() {
    for (const ChargePlace& place : chargePlaces) {
        if (place.line >= postage_.lines.size())
            continue;
        const StatementLine& line = postage_.lines.at(place.line);
        const std::string& text = place.amount ? line.amount : line.quantity;
        if (!text.empty())
            texts_.push_back(textAt(place.x, place.y, text, place.align));
    }
}

} // namespace

std::vector<StatementText> pageTwoTexts(const SortedMailing& mailing,
                                        const StatementPostage& postage) {
    return PageTwo(mailing, postage).texts();
}

} // namespace quillan
