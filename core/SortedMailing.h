#pragma once

#include "core/MailClass.h"
#include "core/Mailing.h"
#include "core/SortKinds.h"
#include "core/settings/SettingsLists.h"

#include <cstdint>
#include <vector>

namespace quillan {

// A finished sort, read only: the class and counts of the mailing, its trays and sacks,
// sort groups and ZIP groups, the records whose ZIP codes were rejected, and the settings
// and postal lists it was sorted under. It owns the mailing the presort finished or the
// sort-result file gave back, and is what the reports print from and the list writers
// write back; the settings lists it only looks at, and they must outlive it.
//
// Trays and sacks, sort groups and ZIP groups are records from index 0 (core/SortRecords.h);
// a link that names no record of the mailing is taken as no link.
class SortedMailing {
public:
    SortedMailing(Mailing mailing, MailClass mailClass, const SettingsLists& lists);
    // A mailing read and not sorted, for its verification report: its records and rejected
    // ZIP codes, no trays or groups and no class.
    static SortedMailing unsorted(Mailing mailing, const SettingsLists& lists);

    // Moved, never copied: what it hands out points into the mailing it owns.
    SortedMailing(SortedMailing&&) = default;
    SortedMailing(const SortedMailing&) = delete;
    SortedMailing& operator=(const SortedMailing&) = delete;

    MailClass mailClass() const { return mailClass_; }
    int32_t recordCount() const { return mailing_.recordCount(); }
    int32_t rejectedCount() const { return mailing_.counters.rejectedCount; }
    // The pieces of the mailing: the records less the rejected ones.
    int32_t pieceCount() const { return mailing_.validPieces(); }
    const MailingCounters& counters() const { return mailing_.counters; }

    // The records of the list, in reading order (after a reprint's load, only the rejected
    // ones are more than their place).
    const std::vector<Piece>& pieces() const { return mailing_.tables.pieces; }
    // The cities the pieces name by id.
    const CityNames& cities() const { return mailing_.tables.cities; }

    const std::vector<Container>& containers() const { return mailing_.tables.containers; }
    const std::vector<SortGroup>& sortGroups() const { return mailing_.tables.sortGroups; }
    const std::vector<ZipGroup>& zipGroups() const { return mailing_.tables.zipGroups; }
    // The tray or sack of a sort group; nothing when it is in none.
    const Container* containerOf(const SortGroup& group) const;

    // The sort groups of tray or sack k, and the ZIP groups of sort group g, in their order.
    const std::vector<int32_t>& sortGroupsIn(size_t k) const { return groupsIn_.at(k); }
    const std::vector<int32_t>& zipGroupsOf(size_t g) const { return zipGroupsOf_.at(g); }

    // The settings and postal lists the mailing was sorted under.
    const MailTypeSettings& mailType() const { return lists_.mailTypeList; }
    const MailerSettings& mailer() const { return lists_.mailerList; }
    const PeriodicalSettings& periodical() const { return lists_.periodicalList; }
    const Preferences& preferences() const { return lists_.prefsList; }
    const StatementSettings& statement() const { return lists_.statementList; }
    const RateTable& rates() const { return lists_.ratesList; }
    const FontSettings& fonts() const { return lists_.fontsList; }
    const PostalLists& postalLists() const { return lists_; }

private:
    void indexGroups();

    Mailing mailing_;
    const SettingsLists& lists_;
    MailClass mailClass_;
    std::vector<std::vector<int32_t>> groupsIn_;
    std::vector<std::vector<int32_t>> zipGroupsOf_;
};

} // namespace quillan
