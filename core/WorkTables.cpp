#include "core/WorkTables.h"

namespace quillan {

void WorkTables::clear() {
    pieceZips.clear();
    pieceRecords.clear();
    pieceCities.clear();
    pieceInCounty.clear();
    zipGroupZips.clear();
    zipGroupPieces.clear();
    zipGroupInCounty.clear();
    zipGroupOwner.clear();
    sortGroupFlags.clear();
    sortGroupPieces.clear();
    sortGroupKinds.clear();
    sortGroupLabels.clear();
    sortGroupContainer.clear();
    containerPieces.clear();
    containerLabels.clear();
    containerTypes.clear();
    levelKeys.clear();
    levelKeyPieces.clear();
    levelKeyGroups.clear();
}

void WorkTables::seed(bool withPieceRecordsSeed) {
    clear();
    zipGroupZips.push_back(0);
    zipGroupPieces.push_back(0);
    zipGroupInCounty.push_back(0);
    zipGroupOwner.push_back(0);
    sortGroupFlags.push_back(0);
    sortGroupPieces.push_back(0);
    sortGroupContainer.push_back(0);
    sortGroupKinds.push_back(GroupKind::Other);
    sortGroupLabels.emplace_back();
    containerPieces.push_back(0);
    containerLabels.emplace_back();
    containerTypes.emplace_back();
    pieceZips.push_back(0);
    pieceInCounty.push_back(0);
    pieceCities.emplace_back("0");
    levelKeys.push_back(0);
    levelKeyPieces.push_back(0);
    levelKeyGroups.push_back(0);
    if (withPieceRecordsSeed)
        pieceRecords.emplace_back();
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
    insertAt(zipGroupZips, row, zip);
    insertAt(zipGroupPieces, row, pieces);
    insertAt(zipGroupInCounty, row, inCounty);
    insertAt(zipGroupOwner, row, owner);
}

void WorkTables::eraseZipGroup(size_t row) {
    eraseAt(zipGroupZips, row);
    eraseAt(zipGroupPieces, row);
    eraseAt(zipGroupInCounty, row);
    eraseAt(zipGroupOwner, row);
}

void WorkTables::truncateZipGroups() {
    zipGroupZips.resize(1);
    zipGroupPieces.resize(1);
    zipGroupInCounty.resize(1);
    zipGroupOwner.resize(1);
}

void WorkTables::addSortGroup(int32_t flags, int32_t pieces, GroupKind kind, std::string label,
                              int32_t container) {
    insertSortGroup(sortGroupPieces.size(), flags, pieces, kind, std::move(label), container);
}

void WorkTables::insertSortGroup(size_t row, int32_t flags, int32_t pieces, GroupKind kind,
                                 std::string label, int32_t container) {
    insertAt(sortGroupFlags, row, flags);
    insertAt(sortGroupPieces, row, pieces);
    insertAt(sortGroupKinds, row, kind);
    insertAt(sortGroupLabels, row, std::move(label));
    insertAt(sortGroupContainer, row, container);
}

void WorkTables::eraseSortGroup(size_t row) {
    eraseAt(sortGroupFlags, row);
    eraseAt(sortGroupPieces, row);
    eraseAt(sortGroupKinds, row);
    eraseAt(sortGroupLabels, row);
    eraseAt(sortGroupContainer, row);
}

void WorkTables::truncateSortGroups() {
    sortGroupFlags.resize(1);
    sortGroupPieces.resize(1);
    sortGroupKinds.resize(1);
    sortGroupLabels.resize(1);
    sortGroupContainer.resize(1);
}

void WorkTables::addContainer(int32_t pieces, std::string label, ContainerType type) {
    insertContainer(containerPieces.size(), pieces, std::move(label), type);
}

void WorkTables::insertContainer(size_t row, int32_t pieces, std::string label,
                                 ContainerType type) {
    insertAt(containerPieces, row, pieces);
    insertAt(containerLabels, row, std::move(label));
    insertAt(containerTypes, row, type);
}

void WorkTables::eraseContainer(size_t row) {
    eraseAt(containerPieces, row);
    eraseAt(containerLabels, row);
    eraseAt(containerTypes, row);
}

void WorkTables::truncateContainers() {
    containerPieces.resize(1);
    containerLabels.resize(1);
    containerTypes.resize(1);
}

void WorkTables::addLevelKey(int32_t key, int32_t pieces, int32_t group) {
    levelKeys.push_back(key);
    levelKeyPieces.push_back(pieces);
    levelKeyGroups.push_back(group);
}

void WorkTables::clearLevelKeys() {
    levelKeys.assign(1, 0);
    levelKeyPieces.assign(1, 0);
    levelKeyGroups.assign(1, 0);
}

bool WorkTables::familiesConsistent() const {
    size_t z = zipGroupZips.size();
    size_t s = sortGroupPieces.size();
    size_t c = containerPieces.size();
    size_t l = levelKeys.size();
    return zipGroupPieces.size() == z && zipGroupInCounty.size() == z &&
           zipGroupOwner.size() == z && sortGroupFlags.size() == s && sortGroupKinds.size() == s &&
           sortGroupLabels.size() == s && sortGroupContainer.size() == s &&
           containerLabels.size() == c && containerTypes.size() == c &&
           levelKeyPieces.size() == l && levelKeyGroups.size() == l;
}

} // namespace quillan
