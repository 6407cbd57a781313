#include "core/SortedMailing.h"

namespace quillan {

namespace {

// The index a link names, when it names one of `count` records.
bool links(int32_t link, size_t count) {
    return link >= 0 && static_cast<size_t>(link) < count;
}

} // namespace

SortedMailing::SortedMailing(Mailing mailing, MailClass mailClass, const SettingsLists& lists)
    : mailing_(std::move(mailing)), lists_(lists), mailClass_(mailClass) {
    indexGroups();
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

} // namespace quillan
