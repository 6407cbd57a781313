#pragma once

#include "core/SortedMailing.h"

#include <cstddef>
#include <string>

namespace quillan {

// The 20-character endorsement line for the pieces of ZIP group z:
// the destination of the package or tray their sort group belongs to, padded in front with
// "*". Classes that carry no endorsement line (letters in trays only) get the empty text. A
// destination that cannot be read (no sort group, a chart value 0, a label line too short
// for its ZIP) gives twenty "*" rather than a wrong line.
std::string BuildContainerLabel(const SortedMailing& mailing, size_t z);

} // namespace quillan
