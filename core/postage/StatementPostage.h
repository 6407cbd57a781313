#pragma once

// The postage of a finished sort, computed in one place for every report that shows it.
//
//   computeStatementPostage(mailing)      everything the postage statement prints, below
//   rateBlockFor(class, mailType, per)    the rate lines of a class (RateBlocks.h)
//   ComputeRateLine(...)                  counts, prices and appends one line (RateLine.h)
//   countRatePieces(mailing, category, tally)  the pieces of one rate category
//                                         (PieceCount.h)
//   TallyGroupPiecesByLevel, TallyContainerPiecesByLevel  in-county pieces by level
//                                         (InCountyTally.h)
//   EntryOfficeName(mailing)              the entry post office (EntryOffice.h)
//   PeriodicalZoneClassifier, classifyZoneCounts(mailing, g)  Periodicals pieces by
//                                         destination and the "IC/SCF/1-2" summary
//                                         (PeriodicalZoneClassifier.h)
//   computePeriodicalZoneCharges(mailing), periodicalPounds, unzonedWarning
//                                         the pound table (PeriodicalZones.h)
//   computePeriodicalCharges, AddPeriodicalCharges  the rest of the Periodicals postage
//                                         (PeriodicalCharges.h)
//
// Everything here reads only the finished sort and the settings it was sorted under, and
// draws nothing; money texts come from core/money/Money.h. A rates.dat line that is not a
// number throws ConvertError naming the line, so a report that computes first and prints
// afterwards stops before its document begins.

#include "core/SortedMailing.h"
#include "core/postage/PeriodicalCharges.h"
#include "core/postage/PeriodicalZones.h"
#include "core/postage/RateBlocks.h"
#include "core/postage/StatementLines.h"

#include <optional>

namespace quillan {

// The statement's computation for one copy: the rate lines of the mailing's block in the
// order page 2 prints them (Periodicals: then the lines of AddPeriodicalCharges), and the
// totals.
struct StatementPostage {
    RateBlock block;
    StatementLines lines;
    // The statement total: every line of the block. Periodicals: the outside-county
    // postage (the in-county postage is in `periodical`).
    double total = 0;
    // Co-sacked Standard flats: the automation lines (the rest is total - automationTotal).
    double automationTotal = 0;
    // Periodicals only.
    std::optional<PeriodicalZoneCharges> zones;
    std::optional<PeriodicalCharges> periodical;

    explicit StatementPostage(bool permitImprint) : lines(permitImprint) {}
};

// Payment from statement.dat (permit imprint or postage affixed).
StatementPostage computeStatementPostage(const SortedMailing& mailing);
// The same with the payment given: the preparation instructions always show the lines as a
// permit-imprint statement does (pounds on the pound lines, 4 decimals).
StatementPostage computeStatementPostage(const SortedMailing& mailing, bool permitImprint);

} // namespace quillan
