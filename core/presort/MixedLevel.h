#pragma once

#include "core/presort/PresortContext.h"

#include <string>

namespace quillan {

// The last level: the still unplaced ZIP groups become mixed groups ("MA"; for a co-sacked
// class the nonbarcoded pieces apart), and every sort group without a tray or sack goes
// into one mixed tray or sack for the mailer's own area.
void BuildMixedLevel(PresortContext& ctx);

// The destination of the mixed container ("%MXD " and this text), from the class, the
// mailer's ZIP and entry. Throws PresortError naming the chart line when the mailer's
// prefix has no label there (First-Class entering at a BMC without one falls back to the
// mailer's own SCF), so that a sort is refused before it starts.
std::string mixedDestination(const PresortContext& ctx);

} // namespace quillan
