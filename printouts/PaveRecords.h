#pragma once

#include "core/SortedMailing.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quillan {

// The PAVE part of the output record of every placed piece of a PAVE list, in the order of
// the mail preparation instructions (tray or sack by tray or sack, its packages in turn, their
// ZIP codes in turn, a ZIP code's pieces one after another): where the piece goes (container,
// labelling list, destination, content identifier, rate level, entry, class), its package
// (number, level, name, endorsement) for classes that have packages, its Periodicals zone and
// its sequence number, which is the piece's line in the PAVE test file (the first piece is
// line 2). Made once for a sort, whatever is printed; draws nothing.
std::vector<std::string> MakePaveRecords(const SortedMailing& mailing);

// Every field is padded and cut to its columns, so every record has this length.
inline constexpr size_t PaveRecordLength = 167;

} // namespace quillan
