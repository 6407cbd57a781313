#pragma once

#include "core/SortKinds.h"
#include "core/presort/PresortContext.h"

#include <string>

namespace quillan {

// The destination-entry discount of a new tray or sack. building is the kind of groups
// the level being built makes (5-digit, 3-digit, scheme, SCF, ADC, AADC, mixed); key the
// 3-digit prefix of the destination as decimal text. A key that is not a prefix gives no
// discount. For the mixed level the key is not used: the container being built is the one
// numbered containerCount, with its sort groups already attached.
EntryDiscount EntryDiscountFor(const PresortContext& ctx, GroupKind building,
                               const std::string& key);

// The key of an ADC or AADC container: the first three characters of the last
// blank-separated word of its label; empty (no discount) for a label without a blank.
std::string entryKeyOfLabel(const std::string& label);

} // namespace quillan
