#pragma once

#include "core/presort/PresortContext.h"

#include <string>

namespace quillan {

// The second level for every class but the automation letters: the unplaced ZIP groups
// become 3-digit groups, and each 3-digit area whose groups reach the container minimum
// (or that lies in the mailer's own SCF) gets a tray or sack, ordered by 3-digit key.
void Build3DigitLevel(PresortContext& ctx);

// The second level of the automation letters (RAL, PAL, FAL): 3-digit groups as above, and
// one tray per 3-digit scheme that holds 150 pieces, or for its part in the mailer's SCF.
void Build3DigitSchemeLevel(PresortContext& ctx);

// The scheme code of a 3-digit prefix text: the code at the end of its scheme label (before
// a "*"), or the prefix itself when it belongs to no scheme. First-Class looks 969 up as
// 967.
std::string SchemeCodeFor(const PresortContext& ctx, const std::string& prefix);

} // namespace quillan
