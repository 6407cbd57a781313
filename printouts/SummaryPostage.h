#pragma once

#include "core/SortedMailing.h"
#include "core/postage/PeriodicalCharges.h"
#include "core/postage/PeriodicalZones.h"
#include "core/postage/RateBlocks.h"

#include <optional>
#include <string>
#include <vector>

namespace quillan {

// One row of the summary's postage computation: a rate line of the mailing's block, counted
// and priced by the statement's own rate-line routine.
struct SummaryPostageRow {
    RateBlockLine line;
    // As rates.dat holds it (a surcharged rate as their sum); with postage affixed, the
    // combined per-piece rate of a piece row that carries its pounds ("0.248").
    std::string rateText;
    std::string quantity;   // pieces, or the pounds of a pound row ("218.7500")
    std::string amountText; // "$12.3400"
    double amount = 0;      // the value of the printed amount
};

// The postage computation of the summary page: the rows of the mailing's rate block, their
// total, and for Periodicals the pound table and the charges that follow the piece rows: the
// postage statement's own figures. Computed before the document begins, so that a rates.dat
// line that is not a number stops the printout before anything is drawn.
struct SummaryPostage {
    RateBlock block;
    std::vector<SummaryPostageRow> rows;
    double total = 0;
    // Co-sacked Standard flats: the automation rows' part of the total (Part A).
    double automationTotal = 0;
    std::optional<PeriodicalZoneCharges> zones;
    std::optional<PeriodicalCharges> periodical;

    // The total postage the summary ends with: Periodicals add the pound charges, discounts
    // and in-county postage to the piece rows.
    double totalPostage() const { return periodical ? periodical->totalPostage : total; }
};

SummaryPostage computeSummaryPostage(const SortedMailing& mailing);

} // namespace quillan
