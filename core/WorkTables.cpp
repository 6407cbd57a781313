#include "core/WorkTables.h"

namespace quillan {

void WorkTables::clear() {
    PieceZips.clear();
    PieceRecords.clear();
    PieceCities.clear();
    PieceInCounty.clear();
    ZipGroupZips.clear();
    ZipGroupPieces.clear();
    ZipGroupInCounty.clear();
    ZipGroupOwner.clear();
    SortGroupFlags.clear();
    SortGroupPieces.clear();
    SortGroupLabels.clear();
    SortGroupContainer.clear();
    ContainerPieces.clear();
    ContainerLabels.clear();
    ContainerEntry.clear();
    ContainerLevel.clear();
    LevelKeys.clear();
    LevelKeyPieces.clear();
    LevelKeyGroups.clear();
    PaveRecords.clear();
}

void WorkTables::seed(bool withPieceRecordsSeed) {
    clear();
    ZipGroupZips.push_back(0);
    ZipGroupPieces.push_back(0);
    ZipGroupInCounty.push_back(0);
    ZipGroupOwner.push_back(0);
    SortGroupFlags.push_back(0);
    SortGroupPieces.push_back(0);
    SortGroupContainer.push_back(0);
    SortGroupLabels.emplace_back();
    ContainerPieces.push_back(0);
    ContainerLabels.emplace_back();
    ContainerEntry.emplace_back();
    ContainerLevel.emplace_back();
    PieceZips.push_back(0);
    PieceInCounty.emplace_back("0");
    PieceCities.emplace_back("0");
    LevelKeys.push_back(0);
    LevelKeyPieces.push_back(0);
    LevelKeyGroups.push_back(0);
    PaveRecords.emplace_back();
    if (withPieceRecordsSeed)
        PieceRecords.emplace_back();
}

template <typename T>
static void insertAt(std::vector<T>& table, size_t row, T value) {
    table.insert(table.begin() + static_cast<std::ptrdiff_t>(row), std::move(value));
}

template <typename T>
static void eraseAt(std::vector<T>& table, size_t row) {
    table.erase(table.begin() + static_cast<std::ptrdiff_t>(row));
}

void WorkTables::insertZipGroup(size_t row, int32_t zip, int32_t pieces, int32_t inCounty,
                                int32_t owner) {
    insertAt(ZipGroupZips, row, zip);
    insertAt(ZipGroupPieces, row, pieces);
    insertAt(ZipGroupInCounty, row, inCounty);
    insertAt(ZipGroupOwner, row, owner);
}

void WorkTables::eraseZipGroup(size_t row) {
    eraseAt(ZipGroupZips, row);
    eraseAt(ZipGroupPieces, row);
    eraseAt(ZipGroupInCounty, row);
    eraseAt(ZipGroupOwner, row);
}

void WorkTables::addSortGroup(int32_t flags, int32_t pieces, std::string label, int32_t container) {
    insertSortGroup(SortGroupPieces.size(), flags, pieces, std::move(label), container);
}

void WorkTables::insertSortGroup(size_t row, int32_t flags, int32_t pieces, std::string label,
                                 int32_t container) {
    insertAt(SortGroupFlags, row, flags);
    insertAt(SortGroupPieces, row, pieces);
    insertAt(SortGroupLabels, row, std::move(label));
    insertAt(SortGroupContainer, row, container);
}

void WorkTables::eraseSortGroup(size_t row) {
    eraseAt(SortGroupFlags, row);
    eraseAt(SortGroupPieces, row);
    eraseAt(SortGroupLabels, row);
    eraseAt(SortGroupContainer, row);
}

void WorkTables::addContainer(int32_t pieces, std::string label, std::string entry,
                              std::string level) {
    insertContainer(ContainerPieces.size(), pieces, std::move(label), std::move(entry),
                    std::move(level));
}

void WorkTables::insertContainer(size_t row, int32_t pieces, std::string label, std::string entry,
                                 std::string level) {
    insertAt(ContainerPieces, row, pieces);
    insertAt(ContainerLabels, row, std::move(label));
    insertAt(ContainerEntry, row, std::move(entry));
    insertAt(ContainerLevel, row, std::move(level));
}

void WorkTables::eraseContainer(size_t row) {
    eraseAt(ContainerPieces, row);
    eraseAt(ContainerLabels, row);
    eraseAt(ContainerEntry, row);
    eraseAt(ContainerLevel, row);
}

void WorkTables::addLevelKey(int32_t key, int32_t pieces, int32_t group) {
    LevelKeys.push_back(key);
    LevelKeyPieces.push_back(pieces);
    LevelKeyGroups.push_back(group);
}

void WorkTables::clearLevelKeys() {
    LevelKeys.assign(1, 0);
    LevelKeyPieces.assign(1, 0);
    LevelKeyGroups.assign(1, 0);
}

bool WorkTables::familiesConsistent() const {
    size_t z = ZipGroupZips.size();
    size_t s = SortGroupPieces.size();
    size_t c = ContainerPieces.size();
    size_t l = LevelKeys.size();
    return ZipGroupPieces.size() == z && ZipGroupInCounty.size() == z &&
           ZipGroupOwner.size() == z && SortGroupFlags.size() == s && SortGroupLabels.size() == s &&
           SortGroupContainer.size() == s && ContainerLabels.size() == c &&
           ContainerEntry.size() == c && ContainerLevel.size() == c && LevelKeyPieces.size() == l &&
           LevelKeyGroups.size() == l;
}

} // namespace quillan
