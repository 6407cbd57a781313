#pragma once

#include "core/SortedMailing.h"
#include "printouts/ContainerBlock.h"
#include "printouts/PageLayout.h"

#include <cstdint>
#include <string>

namespace quillan {

// The instruction for sort group g inside its tray or sack, listed as a package or a group:
// what it is and holds, which sticker or endorsement line marks it, and the heading of its
// ZIP list. Trays listed by bare ZIP lines print nothing. A group that would run off the
// page starts the next one (or stops printing at the To page). The pen is left where the
// ZIP lines begin.
void PrintPackageInstructions(PageLayout& page, const SortedMailing& mailing, size_t g,
                              ContainerListing listing);

// The three lines, as they print.
struct PackageInstructionLines {
    std::string what;    // "A 5-digit package of addresses in 12345, totaling 15 pieces."
    std::string marking; // the sticker or endorsement line, or that none is needed
    std::string heading; // "This package should contain pieces for each of the following ..."
};
PackageInstructionLines packageInstructionLines(const SortedMailing& mailing, size_t g,
                                                ContainerListing listing);

} // namespace quillan
