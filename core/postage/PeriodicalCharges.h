#pragma once

#include "core/SortedMailing.h"
#include "core/postage/InCountyTally.h"
#include "core/postage/PeriodicalZones.h"
#include "core/postage/StatementLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

// One in-county piece line: a level of the mailing's kind (or, for co-sacked
// Periodicals, of its pieces without ZIP+4).
struct InCountyPieceLine {
    int32_t pieces = 0;
    std::string rateText;
    double amount = 0;
};

// The rest of a Periodicals postage computation once the piece-rate lines are priced and
// the pound table is done: the adjustments and discounts of the piece postage, the pound
// charges and the 5 % reduction, and the in-county postage. Amounts are unrounded dollars.
struct PeriodicalCharges {
    int32_t pieceLinePieces = 0; // the pieces of the piece-rate lines
    double piecePostage = 0;     // their amounts
    // 100 less the advertising percentage; 100 for Classroom and Nonprofit publications
    // with up to 10 % advertising.
    double nonadvertisingPercent = 0;
    int32_t outsideCountyPieces = 0; // the mailing's pieces less the in-county ones
    // Nonadvertising piece rate (per percentage point) x percentage x outside pieces.
    double nonadvertisingAdjustment = 0;
    int32_t dscfPieces = 0;
    double scfDiscount = 0;
    int32_t dadcPieces = 0;
    double adcDiscount = 0;
    double adjustmentsAndDiscounts = 0;
    double piecePostageLessDiscounts = 0;
    // With the advertising and nonadvertising pound charges.
    double withPoundCharges = 0;
    // Classroom and Nonprofit: 5 % off the piece postage and the nonadvertising pound
    // charge (never off the advertising pound charge).
    std::optional<double> reductionBase;
    double reduction = 0;
    double outsideCountyPostage = 0;

    int32_t inCountyPieces = 0;
    int32_t inCountyPounds = 0;
    std::string inCountyPoundRateText;
    double inCountyPoundCharge = 0;
    // Basic, 3-Digit, 5-Digit; co-sacked Periodicals then the same for their pieces
    // without ZIP+4.
    std::vector<InCountyPieceLine> inCountyLines;
    int32_t inCountyLinePieces = 0;
    double inCountyPieceCharge = 0;
    double inCountyPostage = 0;

    double totalPostage = 0; // outside-county and in-county
};

// piecePostage and pieceLinePieces are those of the piece-rate lines just priced, whose
// in-county pieces are in the tally. A rates.dat line that is not a number throws
// ConvertError naming it.
PeriodicalCharges computePeriodicalCharges(const SortedMailing& mailing,
                                           const PeriodicalZoneCharges& zones,
                                           const InCountyTally& inCounty, double piecePostage,
                                           int32_t pieceLinePieces);

// Appends the charges to the statement's lines after the piece-rate lines, so that every
// Periodicals class numbers them alike: three empty lines first (co-sacked Periodicals
// have three more piece lines instead), then the piece subtotal (index 6), the
// nonadvertising percentage and adjustment, the SCF and ADC discounts, their total, the
// piece postage less them, with the pound charges, the reduction base and 5 % (an empty
// line and "$0.00" for other categories), the outside-county postage (15), the in-county
// pieces, pounds and pound charge (16, 17), the six in-county level lines ("0" lines for
// a class without pieces without ZIP+4), their total (24) and the in-county postage (25,
// an amount alone). Amounts show as "$1,234.5678".
void AddPeriodicalCharges(StatementLines& lines, const PeriodicalCharges& charges,
                          MailClass mailClass);

} // namespace quillan
