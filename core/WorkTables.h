#pragma once

#include "core/SortRecords.h"

#include <cstdint>
#include <vector>

namespace quillan {

// The tables that carry one mailing through the program: records from index 0
// (core/SortRecords.h).
struct WorkTables {
    // One piece per record of the mailing list, in reading order.
    std::vector<Piece> pieces;
    // The distinct cities the pieces name by id.
    CityNames cities;
    // ZIP groups, ascending by absolute key.
    std::vector<ZipGroup> zipGroups;
    // Sort groups (packages and package groups) and containers (trays and sacks), in the
    // order of the mail preparation instructions.
    std::vector<SortGroup> sortGroups;
    std::vector<Container> containers;

    bool operator==(const WorkTables&) const = default;
};

// The mailing counters, each set by the command that uses it before use.
struct MailingCounters {
    int32_t rejectedCount = 0;
    int32_t missingZip4Count = 0;
    int32_t inCountyCount = 0;
    int32_t piecesDone = 0;
    int32_t placedPieces = 0;
};

struct RunFlags {
    bool dataMissing = false;
};

} // namespace quillan
