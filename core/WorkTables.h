#pragma once

#include "core/SortRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// The tables that carry one mailing through the program. The per-record tables are
// addressed by row: row 0 is a seed row no reader uses, data rows count from 1. The ZIP
// groups, sort groups and containers are records from index 0 (core/SortRecords.h).
struct WorkTables {
    // Per-record tables: one row per record of the mailing list, in reading order.
    std::vector<int32_t> pieceZips;        // ZIP value: ZIP, -ZIP, or code * 100000 - ZIP
    std::vector<std::string> pieceRecords; // the record's text line (text and PAVE lists)
    std::vector<std::string> pieceCities;  // "CITY ST", upper case, or empty
    std::vector<uint8_t> pieceInCounty;    // 1 for a piece that claims in-county rates

    // ZIP groups, ascending by absolute key.
    std::vector<ZipGroup> zipGroups;
    // Sort groups (packages and package groups) and containers (trays and sacks), in the
    // order of the mail preparation instructions.
    std::vector<SortGroup> sortGroups;
    std::vector<Container> containers;

    // Every table back to its seed row; pieceRecords is left empty when
    // withPieceRecordsSeed is false (as after a command), given "" otherwise (start-up).
    void seed(bool withPieceRecordsSeed);

    bool operator==(const WorkTables&) const = default;
};

// The mailing counters, each set by the command that uses it before use.
struct MailingCounters {
    int32_t recordCount = 0;
    int32_t rejectedCount = 0;
    int32_t missingZip4Count = 0;
    int32_t inCountyCount = 0;
    int32_t piecesDone = 0;
    int32_t placedPieces = 0;

    // The pieces of the mailing: its records but the rejected ones.
    int32_t validPieces() const { return recordCount - rejectedCount; }
};

struct RunFlags {
    bool dataMissing = false;
};

} // namespace quillan
