#pragma once

#include "core/presort/PresortContext.h"

#include <string>

namespace quillan {

// The destination-entry discount of a new tray or sack: "None", "DBMC" or "DSCF". level is
// the code of the building level ("5D", "3D", "3S", "SCF", "AD", "AA", "MXD"); key the
// 3-digit prefix of the destination as decimal text. A key that is not a prefix gives
// "None". For "MXD" the key is not used: the container being built is the one numbered
// containerCount, with its sort groups already attached.
std::string EntryDiscountFor(const PresortContext& ctx, const std::string& level,
                             const std::string& key);

// The key of an ADC or AADC container: the first three characters of the last
// blank-separated word of its label; empty (no discount) for a label without a blank.
std::string entryKeyOfLabel(const std::string& label);

} // namespace quillan
