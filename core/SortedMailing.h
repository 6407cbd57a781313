#pragma once

#include "core/MailClass.h"
#include "core/Mailing.h"
#include "core/SortKinds.h"
#include "core/settings/SettingsLists.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillan {

// A finished sort, read only: the class and counts of the mailing, its trays and sacks,
// sort groups and ZIP groups, the records whose ZIP codes were rejected, and the settings
// and postal lists it was sorted under. It owns the mailing the presort finished or the
// sort-result file gave back, and is what the reports print from and the list writers
// write back; the settings lists it only looks at, and they must outlive it.
//
// Trays and sacks, sort groups and ZIP groups are numbered from 1, as the tables number
// them; a count that the tables cannot back is cut to what they hold.
class SortedMailing {
public:
    // A tray or sack.
    struct Container {
        int32_t pieces;
        ContainerKind kind;
        ContainerLevel level;
        EntryDiscount entry;
        // The label as stored: the tag's destination line behind the kind's mark ("%" mixed,
        // "$" ADC or AADC, "#" 3-digit scheme), and the destination without the mark.
        std::string_view label;
        std::string_view destination;
    };
    // A package or package group.
    struct SortGroup {
        int32_t pieces;
        GroupKind kind;
        // "5D 01234", "3D 752", "AD 12", "AA 12" or "MA", as stored; the key after the kind's
        // code: the ZIP, the 3-digit prefix or the center's number.
        std::string_view label;
        std::string_view key;
        bool nonbarcoded;  // the pieces without ZIP+4 of a co-sacked mailing
        int32_t container; // 0 when in none
    };
    // The pieces of one 5-digit ZIP code.
    struct ZipGroup {
        int32_t zip; // negative for the nonbarcoded pieces of a co-sacked mailing
        int32_t pieces;
        int32_t inCounty;
        int32_t owner; // its sort group; 0 when none took it, -1 below a level's minimum
    };
    // A record of the list whose ZIP code was refused.
    struct RejectedRecord {
        int32_t record;   // 1-based, in list order
        int32_t zipValue; // reason code * 100000 - ZIP (codes -2, -6, -7)
        std::string_view city;
    };

    SortedMailing(Mailing mailing, MailClass mailClass, const SettingsLists& lists);
    // A mailing read and not sorted, for its verification report: its records and rejected
    // ZIP codes, no trays or groups and no class.
    static SortedMailing unsorted(Mailing mailing, const SettingsLists& lists);

    // Moved, never copied: what it hands out points into the mailing it owns.
    SortedMailing(SortedMailing&&) = default;
    SortedMailing(const SortedMailing&) = delete;
    SortedMailing& operator=(const SortedMailing&) = delete;

    MailClass mailClass() const { return mailClass_; }
    int32_t recordCount() const { return recordCount_; }
    int32_t rejectedCount() const { return rejectedCount_; }
    // The pieces of the mailing: the records less the rejected ones.
    int32_t pieceCount() const { return recordCount_ - rejectedCount_; }

    int32_t containerCount() const { return containerCount_; }
    Container container(int32_t k) const;
    int32_t sortGroupCount() const { return sortGroupCount_; }
    SortGroup sortGroup(int32_t g) const;
    int32_t zipGroupCount() const { return zipGroupCount_; }
    ZipGroup zipGroup(int32_t z) const;

    // The sort groups of tray or sack k, and the ZIP groups of sort group g, in row order.
    const std::vector<int32_t>& sortGroupsIn(int32_t k) const;
    const std::vector<int32_t>& zipGroupsOf(int32_t g) const;
    const std::vector<RejectedRecord>& rejectedRecords() const { return rejected_; }

    // The settings and postal lists the mailing was sorted under.
    const MailTypeSettings& mailType() const { return lists_.mailTypeList; }
    const MailerSettings& mailer() const { return lists_.mailerList; }
    const PeriodicalSettings& periodical() const { return lists_.periodicalList; }
    const Preferences& preferences() const { return lists_.prefsList; }
    const StatementSettings& statement() const { return lists_.statementList; }
    const RateTable& rates() const { return lists_.ratesList; }
    const FontSettings& fonts() const { return lists_.fontsList; }
    const PostalLists& postalLists() const { return lists_; }

    // The work tables and counters the sort is made of, for the list writers, which write
    // the sort back record by record.
    const WorkTables& tables() const { return mailing_.tables; }
    const MailingCounters& counters() const { return mailing_.counters; }

private:
    void indexGroups();
    void collectRejected();

    Mailing mailing_;
    const SettingsLists& lists_;
    MailClass mailClass_;
    int32_t recordCount_;
    int32_t rejectedCount_;
    int32_t containerCount_;
    int32_t sortGroupCount_;
    int32_t zipGroupCount_;
    std::vector<std::vector<int32_t>> groupsIn_;
    std::vector<std::vector<int32_t>> zipGroupsOf_;
    std::vector<RejectedRecord> rejected_;
};

} // namespace quillan
