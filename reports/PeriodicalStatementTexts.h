#pragma once

#include "core/postage/PeriodicalCharges.h"
#include "core/postage/PeriodicalZones.h"

#include <string>
#include <vector>

namespace quillan {

// A text the statement prints at a point of its form, in points from the page's top-left
// corner.
struct StatementText {
    enum Align { Left, Right };
    double x = 0;
    double y = 0;
    std::string text;
    Align align = Right; // a right-aligned text ends at x
    // Right-aligned as though this followed the text: totals of two decimals then line up
    // with the four-decimal amounts above them.
    std::string roomAfter;

    friend bool operator==(const StatementText&, const StatementText&) = default;
};

// The zone table of the Periodicals statement's first page: a row each for DSCF, DADC,
// zones 1 & 2 and zones 3 to 8 (pieces, pounds, advertising pounds, charge), the totals,
// the nonadvertising pounds and their charge, and the pound postage. A charge prints its
// dollars up to the decimal point in the charge column and its cents in the narrow
// column after it.
std::vector<StatementText> zoneTableTexts(const PeriodicalZoneCharges& charges);

// The three totals of the Periodicals charges on the first page: outside-county, in-county
// and total postage.
std::vector<StatementText> periodicalTotalTexts(const PeriodicalCharges& charges);

} // namespace quillan
