#include "reports/PeriodicalStatementTexts.h"

#include "core/Convert.h"
#include "core/money/Money.h"

namespace quillan {

namespace {

constexpr double PiecesX = 282;
constexpr double PoundsX = 328;
constexpr double AdvertisingPoundsX = 378;
constexpr double ChargeX = 478;
constexpr double CentsX = 481;
constexpr double PoundPostageX = 547;
constexpr double PoundPostageCentsX = 554;

// DSCF, DADC and zones 1 & 2 eleven points apart, then zones 3 to 8 every 11.5 points.
double zoneRowY(size_t row) {
    constexpr double firstRows[] = {586, 597, 608};
    if (row < 3)
        return firstRows[row];
    return 608 + (static_cast<double>(row) - 2) * 11.5;
}

constexpr double TotalsY = 688;
constexpr double NonadvertisingY = 701;
constexpr double PoundPostageY = 715;

void addNumber(std::vector<StatementText>& texts, double x, double y, int32_t value) {
    texts.push_back(StatementText::at(x, y, intToStr(value)));
}

// "$1,234." in the charge column, "5678" after it.
void addCharge(std::vector<StatementText>& texts, double dollarsX, double centsX, double y,
               double charge) {
    std::string text = currencyText(charge);
    size_t point = text.find('.');
    texts.push_back(StatementText::at(dollarsX, y, text.substr(0, point + 1)));
    texts.push_back(StatementText::at(centsX, y, text.substr(point + 1), StatementText::Left));
}

void addRow(std::vector<StatementText>& texts, double y, const ZoneChargeRow& row) {
    addNumber(texts, PiecesX, y, row.pieces);
    addNumber(texts, PoundsX, y, row.pounds);
    addNumber(texts, AdvertisingPoundsX, y, row.advertisingPounds);
    addCharge(texts, ChargeX, CentsX, y, row.charge);
}

} // namespace

std::vector<StatementText> zoneTableTexts(const PeriodicalZoneCharges& charges) {
    std::vector<StatementText> texts;
    for (size_t row = 0; row < charges.rows.size(); ++row)
        addRow(texts, zoneRowY(row), charges.rows[row]);
    addRow(texts, TotalsY, charges.totals);
    addNumber(texts, PoundsX, NonadvertisingY, std::max(charges.nonadvertisingPounds, 0));
    addCharge(texts, ChargeX, CentsX, NonadvertisingY, charges.nonadvertisingCharge);
    addCharge(texts, PoundPostageX, PoundPostageCentsX, PoundPostageY, charges.poundCharge);
    return texts;
}

std::vector<StatementText> periodicalTotalTexts(const PeriodicalCharges& charges) {
    constexpr int TotalSize = 10;
    auto total = [](double y, std::string text) {
        return StatementText::at(578, y, std::move(text), StatementText::Right, TotalSize);
    };
    std::vector<StatementText> totals = {total(280, currencyText(charges.outsideCountyPostage)),
                                         total(309, currencyText(charges.inCountyPostage)),
                                         total(338, currencyTotalText(charges.totalPostage))};
    totals.back().roomAfter = "00";
    return totals;
}

} // namespace quillan
