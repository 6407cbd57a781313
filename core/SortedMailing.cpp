#include "core/SortedMailing.h"

#include <algorithm>
#include <cstdlib>

namespace quillan {

namespace {

// Rows 1 to count of a family whose counter says `count`, cut to the rows the table holds.
int32_t rowsBacked(int64_t count, size_t tableRows) {
    int64_t rows = std::min<int64_t>(count, static_cast<int64_t>(tableRows) - 1);
    return static_cast<int32_t>(std::max<int64_t>(rows, 0));
}

size_t row(int32_t n) {
    return static_cast<size_t>(n);
}

// Row n of a family of `count` rows; asking for another is the caller's fault.
size_t checkedRow(int32_t n, int32_t count, const char* what) {
    if (n < 1 || n > count)
        throw std::out_of_range(std::string(what) + " " + std::to_string(n));
    return row(n);
}

} // namespace

SortedMailing::SortedMailing(Mailing mailing, MailClass mailClass, const SettingsLists& lists)
    : mailing_(std::move(mailing)), lists_(lists), mailClass_(mailClass) {
    const MailingCounters& c = mailing_.counters;
    const WorkTables& t = mailing_.tables;
    recordCount_ = c.recordCount;
    rejectedCount_ = c.rejectedCount;
    containerCount_ = rowsBacked(int64_t(c.containerCount) - 1, t.containerRows());
    sortGroupCount_ = rowsBacked(int64_t(c.sortGroupCount) - 1, t.sortGroupRows());
    zipGroupCount_ = rowsBacked(c.zipGroupCount, t.zipGroupRows());
    indexGroups();
    collectRejected();
}

SortedMailing SortedMailing::unsorted(Mailing mailing, const SettingsLists& lists) {
    return SortedMailing(std::move(mailing), MailClass(), lists);
}

SortedMailing::Container SortedMailing::container(int32_t k) const {
    const WorkTables& t = mailing_.tables;
    size_t r = checkedRow(k, containerCount_, "tray or sack");
    const ContainerType& type = t.containerTypes[r];
    const std::string& label = t.containerLabels[r];
    return {.pieces = t.containerPieces[r],
            .kind = type.kind,
            .level = type.level,
            .entry = type.entry,
            .label = label,
            .destination = containerDestination(type.kind, label)};
}

SortedMailing::SortGroup SortedMailing::sortGroup(int32_t g) const {
    const WorkTables& t = mailing_.tables;
    size_t r = checkedRow(g, sortGroupCount_, "sort group");
    const std::string& label = t.sortGroupLabels[r];
    return {.pieces = t.sortGroupPieces[r],
            .kind = t.sortGroupKinds[r],
            .label = label,
            .key = groupKey(label),
            .nonbarcoded = t.sortGroupFlags[r] == 1,
            .container = t.sortGroupContainer[r]};
}

SortedMailing::ZipGroup SortedMailing::zipGroup(int32_t z) const {
    const WorkTables& t = mailing_.tables;
    size_t r = checkedRow(z, zipGroupCount_, "ZIP group");
    return {t.zipGroupZips[r], t.zipGroupPieces[r], t.zipGroupInCounty[r], t.zipGroupOwner[r]};
}

const std::vector<int32_t>& SortedMailing::sortGroupsIn(int32_t k) const {
    return groupsIn_.at(row(k));
}

const std::vector<int32_t>& SortedMailing::zipGroupsOf(int32_t g) const {
    return zipGroupsOf_.at(row(g));
}

void SortedMailing::indexGroups() {
    const WorkTables& t = mailing_.tables;
    groupsIn_.resize(row(containerCount_) + 1);
    zipGroupsOf_.resize(row(sortGroupCount_) + 1);
    for (int32_t g = 1; g <= sortGroupCount_; ++g) {
        int32_t k = t.sortGroupContainer[row(g)];
        if (k >= 1 && k <= containerCount_)
            groupsIn_[row(k)].push_back(g);
    }
    for (int32_t z = 1; z <= zipGroupCount_; ++z) {
        int32_t g = t.zipGroupOwner[row(z)];
        if (g >= 1 && g <= sortGroupCount_)
            zipGroupsOf_[row(g)].push_back(z);
    }
}

void SortedMailing::collectRejected() {
    const WorkTables& t = mailing_.tables;
    int32_t records = rowsBacked(recordCount_, t.pieceZips.size());
    for (int32_t r = 1; r <= records; ++r) {
        int32_t value = t.pieceZips[row(r)];
        if (std::llabs(static_cast<long long>(value)) <= 99999)
            continue;
        std::string_view city;
        if (row(r) < t.pieceCities.size())
            city = t.pieceCities[row(r)];
        rejected_.push_back({r, value, city});
    }
}

} // namespace quillan
