#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// The tables that carry one mailing through the program. Every table is addressed by row:
// row 0 is a seed row no reader uses, data rows count from 1. Columns whose content is a
// number hold integers. The ZIP-group, sort-group and container families are parallel: a
// writer that adds, inserts or removes a row in one table of a family does so in all of
// them in the same step (the family helpers below do exactly that).
struct WorkTables {
    // Per-record tables: one row per record of the mailing list, in reading order.
    std::vector<int32_t> PieceZips;         // ZIP value: ZIP, -ZIP, or code * 100000 - ZIP
    std::vector<std::string> PieceRecords;  // the record's text line (text and PAVE lists)
    std::vector<std::string> PieceCities;   // "CITY ST", upper case, or empty
    std::vector<std::string> PieceInCounty; // "t" or "f"

    // ZIP groups, ascending by absolute key.
    std::vector<int32_t> ZipGroupZips;
    std::vector<int32_t> ZipGroupPieces;
    std::vector<int32_t> ZipGroupInCounty;
    std::vector<int32_t> ZipGroupOwner; // sort group; 0 not yet placed; -1 below a minimum

    // Sort groups (packages and package groups), rows 1 to SortGroupCount - 1.
    std::vector<int32_t> SortGroupFlags;
    std::vector<int32_t> SortGroupPieces;
    std::vector<std::string> SortGroupLabels;
    std::vector<int32_t> SortGroupContainer;

    // Containers (trays and sacks), rows 1 to ContainerCount - 1.
    std::vector<int32_t> ContainerPieces;
    std::vector<std::string> ContainerLabels;
    std::vector<std::string> ContainerEntry; // "None", "DBMC" or "DSCF"
    std::vector<std::string> ContainerLevel;

    // Scratch of the level being built.
    std::vector<int32_t> LevelKeys;
    std::vector<int32_t> LevelKeyPieces;
    std::vector<int32_t> LevelKeyGroups;

    std::vector<std::string> PaveRecords;

    // Every table back to its seed row; PieceRecords is left empty when
    // withPieceRecordsSeed is false (as after a command), given "" otherwise (start-up).
    void seed(bool withPieceRecordsSeed);
    void clear();

    // Family helpers keep the parallel tables equal in length.
    void insertZipGroup(size_t row, int32_t zip, int32_t pieces, int32_t inCounty, int32_t owner);
    void eraseZipGroup(size_t row);
    size_t zipGroupRows() const { return ZipGroupZips.size(); }

    void addSortGroup(int32_t flags, int32_t pieces, std::string label, int32_t container);
    void insertSortGroup(size_t row, int32_t flags, int32_t pieces, std::string label,
                         int32_t container);
    void eraseSortGroup(size_t row);
    size_t sortGroupRows() const { return SortGroupPieces.size(); }

    void addContainer(int32_t pieces, std::string label, std::string entry, std::string level);
    void insertContainer(size_t row, int32_t pieces, std::string label, std::string entry,
                         std::string level);
    void eraseContainer(size_t row);
    size_t containerRows() const { return ContainerPieces.size(); }

    void addLevelKey(int32_t key, int32_t pieces, int32_t group);
    void clearLevelKeys();

    // True when every family's tables have equal lengths.
    bool familiesConsistent() const;

    bool operator==(const WorkTables&) const = default;
};

// The mailing counters, each set by the command that uses it before use.
struct MailingCounters {
    int32_t RecordCount = 0;
    int32_t RejectedCount = 0;
    int32_t MissingZip4Count = 0;
    int32_t InCountyCount = 0;
    int32_t ZipGroupCount = 0;
    int32_t SortGroupCount = 0;
    int32_t ContainerCount = 0;
    int32_t PiecesDone = 0;
    int32_t PlacedPieces = 0;
    int32_t RunPageNumber = 0;
};

struct RunFlags {
    bool JustSorted = false;
    bool PauseFlag = false;
    bool StopPrinting = false;
    bool PrintCancelled = false;
    bool DataMissing = false;
};

} // namespace quillan
