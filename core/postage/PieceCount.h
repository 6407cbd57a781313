#pragma once

#include "core/SortedMailing.h"
#include "core/postage/InCountyTally.h"
#include "core/postage/RateCategory.h"

#include <cstdint>

namespace quillan {

// The pieces one rate category covers in a finished sort; the postage statement and the
// postage computation of the preparation instructions both count with it.
//
// Flats (co-sacked included) are counted by sort group: a group qualifies by its pieces
// and the kind of its label (automation), or by the label and pieces of its sack
// (nonautomation). Letters are counted by tray, by the level and entry of the tray.
// Standard and First-Class count only the trays and sacks entered with the category's
// discount; Periodicals count them all and, when in-county rates are claimed, move the
// in-county pieces of what they count into the tally.
int32_t countRatePieces(const SortedMailing& mailing, const RateCategory& category,
                        InCountyTally& inCounty);

} // namespace quillan
