#pragma once

#include "core/postage/PeriodicalCharges.h"
#include "core/postage/PeriodicalZones.h"
#include "reports/StatementText.h"

#include <string>
#include <vector>

namespace quillan {

// The zone table of the Periodicals statement's first page: a row each for DSCF, DADC,
// zones 1 & 2 and zones 3 to 8 (pieces, pounds, advertising pounds, charge), the totals,
// the nonadvertising pounds and their charge, and the pound postage. A charge prints its
// dollars up to the decimal point in the charge column and its cents in the narrow
// column after it.
std::vector<StatementText> zoneTableTexts(const PeriodicalZoneCharges& charges);

// The three totals of the Periodicals charges on the first page: outside-county, in-county
// and total postage, in the larger type of the page's totals.
std::vector<StatementText> periodicalTotalTexts(const PeriodicalCharges& charges);

} // namespace quillan
