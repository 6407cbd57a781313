#pragma once

#include "core/presort/PresortContext.h"

namespace quillan {

// Periodicals flats: the 5-digit and 3-digit groups still without a sack go into one sack
// per SCF that reaches the sack minimum (or is the mailer's own), ordered by SCF key.
void BuildSCFLevel(PresortContext& ctx);

} // namespace quillan
