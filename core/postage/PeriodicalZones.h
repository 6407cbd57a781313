#pragma once

#include "core/SortedMailing.h"
#include "core/postage/PeriodicalZoneClassifier.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillan {

// Whole pounds as the Periodicals rates count them: any weight under a pound is one
// pound, otherwise halves and more round up (1.4375 is 1, 1.5 is 2); nothing is 0.
int32_t periodicalPounds(double pounds);
// The pounds of a number of pieces of a weight in ounces.
int32_t periodicalPoundsOf(int32_t pieces, double ouncesPerPiece);

// One row of the outside-county pound table.
struct ZoneChargeRow {
    std::string_view label; // "DSCF", "DADC", "1 & 2", "3" to "8"
    int32_t pieces = 0;
    int32_t pounds = 0;
    int32_t advertisingPounds = 0;
    std::string rateText; // the advertising pound rate of the row, as rates.dat holds it
    double charge = 0;    // advertising pounds x rate, to 4 decimals as printed
};

// The outside-county pound postage of a Periodicals mailing: its pieces by destination,
// their pounds and advertising pounds priced by zone, and the nonadvertising pounds.
// Every charge is taken to 4 decimals as it prints, and sums add the printed values.
struct PeriodicalZoneCharges {
    int32_t inCountyPieces = 0;
    int32_t dscfPieces = 0;
    int32_t dadcPieces = 0;
    // DSCF, DADC, zones 1 & 2, zones 3 to 8.
    std::vector<ZoneChargeRow> rows;
    // Pieces, pounds and advertising pounds of the rows; the charge is the advertising
    // charge.
    ZoneChargeRow totals;
    double advertisingCharge = 0;
    // Pounds less advertising pounds; below 0 when the advertising share is over 100 %,
    // and then charged nothing.
    int32_t nonadvertisingPounds = 0;
    std::string nonadvertisingRateText;
    double nonadvertisingCharge = 0;
    double poundCharge = 0; // advertising and nonadvertising
    // Pieces left out because the zone chart gives their prefix no zone from 1 to 8.
    int32_t unzonedPieces = 0;
    std::vector<int32_t> unzonedZips;
};

// Classifies every ZIP group and prices the pound table. A rates.dat line that is not a
// number throws ConvertError naming it.
PeriodicalZoneCharges computePeriodicalZoneCharges(const SortedMailing& mailing);

// What to tell the mailer when pieces were left out of the zone charges: the ZIP Codes of
// their groups. Nothing when every piece found its row.
std::optional<std::string> unzonedWarning(const PeriodicalZoneCharges& charges);

} // namespace quillan
