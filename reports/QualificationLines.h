#pragma once

#include "core/SortedMailing.h"

#include <cstdint>
#include <string>

namespace quillan {

// The tray or sack columns of the qualification report, printed on the line of its first
// group.
struct ContainerColumns {
    std::string number;
    std::string size;  // "2'" or "1'" for a letter tray of the first tray type, else empty
    std::string level; // "5DG", "3DG", "3DGS", "SCF", "ADC"/"AADC", "MADC"/"MAAD"
    std::string zip;   // the 5-digit or 3-digit destination
};

// The columns of tray or sack k, numbered from 1.
ContainerColumns containerColumns(const SortedMailing& mailing, size_t k);

// The destination the report gives the mixed groups: "M" and the ZIP part of the
// label the mixed tray or sack of the mailing goes to, as its tag names it. A chart line
// that is not a number throws ConvertError.
std::string mixedGroupDestination(const SortedMailing& mailing);

// The destination column of sort group g: "M" and the mixed destination, "A" and the ZIP
// part of its ADC or AADC, its 3-digit prefix or its 5-digit ZIP; empty for other groups
// (SCF groups) and for a center the lists cannot resolve.
std::string groupDestination(const SortedMailing& mailing, size_t g,
                             const std::string& mixedDestination);

} // namespace quillan
