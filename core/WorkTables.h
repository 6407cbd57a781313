#pragma once

#include "core/SortKinds.h"

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
    std::vector<int32_t> pieceZips;        // ZIP value: ZIP, -ZIP, or code * 100000 - ZIP
    std::vector<std::string> pieceRecords; // the record's text line (text and PAVE lists)
    std::vector<std::string> pieceCities;  // "CITY ST", upper case, or empty
    std::vector<uint8_t> pieceInCounty;    // 1 for a piece that claims in-county rates

    // ZIP groups, ascending by absolute key.
    std::vector<int32_t> zipGroupZips;
    std::vector<int32_t> zipGroupPieces;
    std::vector<int32_t> zipGroupInCounty;
    std::vector<int32_t> zipGroupOwner; // sort group; 0 not yet placed; -1 below a minimum

    // Sort groups (packages and package groups), rows 1 to sortGroupCount - 1.
    std::vector<int32_t> sortGroupFlags;
    std::vector<int32_t> sortGroupPieces;
    std::vector<GroupKind> sortGroupKinds;
    std::vector<std::string> sortGroupLabels;
    std::vector<int32_t> sortGroupContainer;

    // Containers (trays and sacks), rows 1 to containerCount - 1.
    std::vector<int32_t> containerPieces;
    std::vector<std::string> containerLabels;
    std::vector<ContainerType> containerTypes;

    // Scratch of the level being built.
    std::vector<int32_t> levelKeys;
    std::vector<int32_t> levelKeyPieces;
    std::vector<int32_t> levelKeyGroups;

    // Every table back to its seed row; pieceRecords is left empty when
    // withPieceRecordsSeed is false (as after a command), given "" otherwise (start-up).
    void seed(bool withPieceRecordsSeed);
    void clear();

    // Family helpers keep the parallel tables equal in length.
    void insertZipGroup(size_t row, int32_t zip, int32_t pieces, int32_t inCounty, int32_t owner);
    void eraseZipGroup(size_t row);
    // Drops every data row of the family; the seed rows stay as they are.
    void truncateZipGroups();
    size_t zipGroupRows() const { return zipGroupZips.size(); }

    void addSortGroup(int32_t flags, int32_t pieces, GroupKind kind, std::string label,
                      int32_t container);
    void insertSortGroup(size_t row, int32_t flags, int32_t pieces, GroupKind kind,
                         std::string label, int32_t container);
    void eraseSortGroup(size_t row);
    void truncateSortGroups();
    size_t sortGroupRows() const { return sortGroupPieces.size(); }

    void addContainer(int32_t pieces, std::string label, ContainerType type);
    void insertContainer(size_t row, int32_t pieces, std::string label, ContainerType type);
    void eraseContainer(size_t row);
    void truncateContainers();
    size_t containerRows() const { return containerPieces.size(); }

    void addLevelKey(int32_t key, int32_t pieces, int32_t group);
    void clearLevelKeys();

    // True when every family's tables have equal lengths.
    bool familiesConsistent() const;

    bool operator==(const WorkTables&) const = default;
};

// The mailing counters, each set by the command that uses it before use.
struct MailingCounters {
    int32_t recordCount = 0;
    int32_t rejectedCount = 0;
    int32_t missingZip4Count = 0;
    int32_t inCountyCount = 0;
    int32_t zipGroupCount = 0;
    int32_t sortGroupCount = 0;
    int32_t containerCount = 0;
    int32_t piecesDone = 0;
    int32_t placedPieces = 0;

    // The pieces of the mailing: its records but the rejected ones.
    int32_t validPieces() const { return recordCount - rejectedCount; }
};

struct RunFlags {
    bool dataMissing = false;
};

} // namespace quillan
