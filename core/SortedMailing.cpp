#include "core/SortedMailing.h"

#include <algorithm>
#include <cstdlib>

namespace quillan {

namespace {

// Rows 1 to count of a table whose counter says `count`, cut to the rows the table holds.
int32_t rowsBacked(int64_t count, size_t tableRows) {
    int64_t rows = std::min<int64_t>(count, static_cast<int64_t>(tableRows) - 1);
    return static_cast<int32_t>(std::max<int64_t>(rows, 0));
}

// The index a link names, when it names one of `count` records.
bool links(int32_t link, size_t count) {
    return link >= 0 && static_cast<size_t>(link) < count;
}

} // namespace

SortedMailing::SortedMailing(Mailing mailing, MailClass mailClass, const SettingsLists& lists)
    : mailing_(std::move(mailing)), lists_(lists), mailClass_(mailClass) {
    recordCount_ = mailing_.counters.recordCount;
    rejectedCount_ = mailing_.counters.rejectedCount;
    indexGroups();
    collectRejected();
}

SortedMailing SortedMailing::unsorted(Mailing mailing, const SettingsLists& lists) {
    return SortedMailing(std::move(mailing), MailClass(), lists);
}

const Container* SortedMailing::containerOf(const SortGroup& group) const {
    if (!links(group.container, containers().size()))
        return nullptr;
    return &containers()[static_cast<size_t>(group.container)];
}

void SortedMailing::indexGroups() {
    const std::vector<SortGroup>& groups = sortGroups();
    const std::vector<ZipGroup>& zips = zipGroups();
    groupsIn_.resize(containers().size());
    zipGroupsOf_.resize(groups.size());
    for (size_t g = 0; g < groups.size(); ++g)
        if (links(groups[g].container, groupsIn_.size()))
            groupsIn_[static_cast<size_t>(groups[g].container)].push_back(static_cast<int32_t>(g));
    for (size_t z = 0; z < zips.size(); ++z)
        if (links(zips[z].owner, zipGroupsOf_.size()))
            zipGroupsOf_[static_cast<size_t>(zips[z].owner)].push_back(static_cast<int32_t>(z));
}

void SortedMailing::collectRejected() {
    const WorkTables& t = mailing_.tables;
    int32_t records = rowsBacked(recordCount_, t.pieceZips.size());
    for (int32_t r = 1; r <= records; ++r) {
        size_t row = static_cast<size_t>(r);
        int32_t value = t.pieceZips[row];
        if (std::llabs(static_cast<long long>(value)) <= 99999)
            continue;
        std::string_view city;
        if (row < t.pieceCities.size())
            city = t.pieceCities[row];
        rejected_.push_back({r, value, city});
    }
}

} // namespace quillan
