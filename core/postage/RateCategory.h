#pragma once

#include "core/SortKinds.h"

namespace quillan {

// What one rate line of the postage counts: the pieces of a presort level, entered with an
// entry discount, and for co-sacked flats one of the two parts of the sacks.

// The levels the rate lines name, as the trays and sacks name theirs: every level but
// Mixed, whose pieces each claim the rate of their own group. Periodicals have no entry
// discount by tray or sack: their lines take every tray and sack.
using RateLevel = ContainerLevel;

// Co-sacked flats: the barcoded pieces and the pieces without ZIP+4 share the sacks and
// are counted and priced apart. Every other class has only the first part.
enum class CoSackedPart { Automation, Nonautomation };

struct RateCategory {
    RateLevel level = RateLevel::Basic;
    EntryDiscount entry = EntryDiscount::None;
    CoSackedPart part = CoSackedPart::Automation;
};

} // namespace quillan
