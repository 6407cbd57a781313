#pragma once

#include "core/SortKinds.h"
#include "core/presort/PresortContext.h"

#include <string>

namespace quillan {

// The destination-entry discount of a new tray or sack. building is the kind of groups
// the level being built makes (5-digit, 3-digit, scheme, SCF, ADC, AADC, mixed); prefix the
// 3-digit prefix that stands for the destination. A number that is no prefix gives no
// discount. For the mixed level the prefix is not used: the container being built is the
// one after the last, with its sort groups already linked to it.
EntryDiscount EntryDiscountFor(const PresortContext& ctx, GroupKind building, int prefix);

// The prefix a label-list entry's text names for its entry discount, read as a number; 0
// (no prefix) when it is none.
int entryPrefixOf(const std::string& text);
// The text of an ADC or AADC entry that names its prefix: the first three characters of
// its last blank-separated word; empty for an entry without a blank.
std::string centerEntryKey(const std::string& entry);

} // namespace quillan
