#pragma once

#include "core/presort/PresortContext.h"

namespace quillan {

// The ADC level of the nonautomation, co-sacked and flat classes and of the Periodicals
// letters: the unplaced ZIP groups become ADC groups (the nonbarcoded pieces of a co-sacked
// class apart), and every ADC whose groups still without a tray or sack reach the minimum
// gets trays or sacks, ordered by the ADC order code.
void BuildADCLevel(PresortContext& ctx);

// The AADC level of the trays-only letters: AADC trays for the groups still without one.
void BuildAADCLevel(PresortContext& ctx);

// After the AADC trays: the unplaced ZIP groups become AADC groups for the mixed tray.
void BuildAADCGroups(PresortContext& ctx);

} // namespace quillan
