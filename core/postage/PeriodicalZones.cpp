#include "core/postage/PeriodicalZones.h"

#include "core/Convert.h"
#include "core/money/ExactProduct.h"
#include "core/money/Money.h"
#include "core/postage/RateBlocks.h"

#include <cmath>

namespace quillan {

namespace {

using R = RateTable;

// Advertising pounds are a share of each row's rounded pounds, rounded again. Classroom
// and Nonprofit publications with up to 10 % advertising pay no advertising pound rates.
int32_t advertisingPoundsOf(int32_t pounds, const PeriodicalSettings& periodical) {
    double percent = periodical.advertisingPercent();
    if (percent <= 10 && periodical.classroomOrNonprofit())
        return 0;
    return periodicalPounds(exactProduct(pounds, percent, 0.01));
}

ZoneChargeRow priceRow(std::string_view label, int32_t pieces, const SortedMailing& mailing,
                       long rateLine) {
    ZoneChargeRow row;
    row.label = label;
    row.pieces = pieces;
    row.pounds = periodicalPoundsOf(pieces, mailing.mailType().pieceWeight());
    row.advertisingPounds = advertisingPoundsOf(row.pounds, mailing.periodical());
    row.rateText = mailing.rates().rateText(rateLine);
    row.charge = roundMoney(exactProduct(row.advertisingPounds, mailing.rates().rate(rateLine)), 4);
    return row;
}

std::vector<ZoneChargeRow> priceRows(const SortedMailing& mailing,
                                     const PeriodicalZoneCounts& counts) {
    static constexpr std::string_view zoneLabels[] = {"", "", "", "3", "4", "5", "6", "7", "8"};
    R::Base base = periodicalBase(mailing.periodical());
    std::vector<ZoneChargeRow> rows;
    rows.push_back(priceRow("DSCF", counts.scf, mailing, R::line(base, R::ScfPoundRate)));
    rows.push_back(priceRow("DADC", counts.adc, mailing, R::line(base, R::AdcPoundRate)));
    rows.push_back(priceRow("1 & 2", counts.zones[1] + counts.zones[2], mailing,
                            R::line(base, R::zonePoundPlace(2))));
    for (int zone = 3; zone <= 8; ++zone)
        rows.push_back(priceRow(zoneLabels[zone], counts.zones[static_cast<size_t>(zone)], mailing,
                                R::line(base, R::zonePoundPlace(zone))));
    return rows;
}

} // namespace

int32_t periodicalPounds(double pounds) {
    if (pounds > 0 && pounds < 1)
        return 1;
    double whole = std::trunc(pounds);
    if (whole + 0.5 <= pounds)
        whole += 1;
    return static_cast<int32_t>(whole);
}

int32_t periodicalPoundsOf(int32_t pieces, double ouncesPerPiece) {
    return periodicalPounds(poundsOf(pieces, ouncesPerPiece));
}

PeriodicalZoneCharges computePeriodicalZoneCharges(const SortedMailing& mailing) {
    PeriodicalZoneCounts counts = classifyZoneCounts(mailing);
    PeriodicalZoneCharges charges;
    charges.inCountyPieces = counts.inCounty;
    charges.dscfPieces = counts.scf;
    charges.dadcPieces = counts.adc;
    charges.unzonedPieces = counts.unzoned;
    charges.unzonedZips = counts.unzonedZips;
    charges.rows = priceRows(mailing, counts);

    ZoneChargeRow& totals = charges.totals;
    totals.label = "Subtotals";
    for (const ZoneChargeRow& row : charges.rows) {
        totals.pieces += row.pieces;
        totals.pounds += row.pounds;
        totals.advertisingPounds += row.advertisingPounds;
        totals.charge = moneySum({totals.charge, row.charge});
    }
    totals.charge = roundMoney(totals.charge, 4);
    charges.advertisingCharge = totals.charge;

    long nonadvertisingLine =
        R::line(periodicalBase(mailing.periodical()), R::NonadvertisingPoundRate);
    double nonadvertisingRate = mailing.rates().rate(nonadvertisingLine);
    charges.nonadvertisingRateText = mailing.rates().rateText(nonadvertisingLine);
    charges.nonadvertisingPounds = totals.pounds - totals.advertisingPounds;
    if (charges.nonadvertisingPounds > 0)
        charges.nonadvertisingCharge =
            roundMoney(exactProduct(charges.nonadvertisingPounds, nonadvertisingRate), 4);
    charges.poundCharge = roundMoney(charges.advertisingCharge + charges.nonadvertisingCharge, 4);
    return charges;
}

std::optional<std::string> unzonedWarning(const PeriodicalZoneCharges& charges) {
    if (charges.unzonedZips.empty())
        return std::nullopt;
    constexpr size_t shown = 20;
    std::string zips;
    for (size_t i = 0; i < charges.unzonedZips.size() && i < shown; ++i)
        zips += (i == 0 ? "" : ", ") + zeroPad(charges.unzonedZips[i], 5);
    if (charges.unzonedZips.size() > shown)
        zips += " and " + std::to_string(charges.unzonedZips.size() - shown) + " more";
    return "There is an error in your zone chart: no zone from 1 to 8 was found for " + zips +
           ". Their " + std::to_string(charges.unzonedPieces) +
           " pieces are not in the zone charges.";
}

} // namespace quillan
