#pragma once

#include "core/presort/PresortContext.h"

#include <cstdint>

namespace quillan {

// A level's minimum pieces for a group (package) and for a container of its own.
struct Minimums {
    int32_t group = 0;
    int32_t container = 0;
};

// Pieces of a one-foot tray for a count of two-foot tray pieces (10.25 of 21 inches).
int32_t oneFootTray(int32_t twoFootPieces);

// Standard flat sacks need 125 pieces, or 15 pounds (240 ounces) of pieces given an exact
// weight above 1.92 oz. A nonautomation sack's groups count at the 3/5-Digit rate only when
// it holds as many.
int32_t standardFlatSackMinimum(const MailTypeSettings& mailType);
// The sack minimum of the mailing's flat class (Periodicals: their container minimum).
int32_t flatSackMinimum(const PresortContext& ctx);

// The valid pieces in no tray or sack yet.
int32_t unplacedPieces(const PresortContext& ctx);
// True while some valid piece is in no tray or sack.
bool piecesRemain(const PresortContext& ctx);

// True when the 3-digit prefix lies in the mailer's own SCF; origin containers may be made
// below the minimum.
bool inOriginScf(const PresortContext& ctx, int prefix);

} // namespace quillan
