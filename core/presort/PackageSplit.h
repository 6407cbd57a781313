#pragma once

#include "core/presort/PresortContext.h"

namespace quillan {

// Cuts packages taller than a 5-inch stack plus 10 pieces into stacks of 5 inches (and the
// rest), each in the package's own tray or sack. Packaged letters and flats only.
void SplitLargePackages(PresortContext& ctx);

// The pieces a package keeps when it is cut: a 5-inch stack of a 21-inch tray's pieces,
// and at least one piece.
int32_t packageKeep(int32_t fullTrayPieces);

} // namespace quillan
