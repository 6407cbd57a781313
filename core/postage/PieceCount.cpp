#include "core/postage/PieceCount.h"

#include "core/presort/PresortRules.h"

namespace quillan {

namespace {

// The part of the sacks a group belongs to for this category, or nothing when the
// category does not count it at all (another entry, the other co-sacked part).
std::optional<CoSackedPart> partCounted(const SortedMailing& mailing, const SortGroup& group,
                                        const Container* sack, const RateCategory& category) {
    MailClass mailClass = mailing.mailClass();
    bool entryMatches = mailClass.isPeriodicals() || (sack && sack->entry == category.entry);
    if (!entryMatches)
        return std::nullopt;
    if (mailClass.isCoSacked()) {
        CoSackedPart part =
            group.nonbarcoded ? CoSackedPart::Nonautomation : CoSackedPart::Automation;
        if (part != category.part)
            return std::nullopt;
        return part;
    }
    return mailClass.isAutomation() ? CoSackedPart::Automation : CoSackedPart::Nonautomation;
}

// Barcoded flats qualify by the size and kind of their own group.
bool automationGroupCounts(MailClass mailClass, const SortGroup& group, RateLevel level) {
    int32_t least = mailClass.isPeriodicals() ? 6 : 10;
    if (group.pieces < least)
        return level == RateLevel::Basic;
    bool threeDigit = isThreeDigitGroup(group.kind);
    bool fiveDigit = group.kind == GroupKind::FiveDigit;
    bool digit = threeDigit || fiveDigit;
    if (!mailClass.isPeriodicals())
        return level == RateLevel::ThreeFiveDigit ? digit : !digit;
    if (level == RateLevel::ThreeDigit)
        return threeDigit;
    if (level == RateLevel::FiveDigit)
        return fiveDigit;
    return !digit;
}

// Flats without barcodes qualify by the sack they travel in; a group in none is counted as
// one in a 5-digit sack of no pieces, entered with no discount that a rate line names.
bool nonautomationGroupCounts(const SortedMailing& mailing, const Container* sack,
                              RateLevel level) {
    ContainerKind kind = sack ? sack->kind : ContainerKind::FiveDigit;
    switch (kind) {
    case ContainerKind::Mixed:
    case ContainerKind::Adc:
    case ContainerKind::Scf:
        return level == RateLevel::Basic;
    default:
        break;
    }
    if (mailing.mailClass().isPeriodicals()) {
        bool threeDigit = kind == ContainerKind::ThreeDigit || kind == ContainerKind::Scheme;
        return level == (threeDigit ? RateLevel::ThreeDigit : RateLevel::FiveDigit);
    }
    bool full = sack && sack->pieces >= standardFlatSackMinimum(mailing.mailType());
    return level == (full ? RateLevel::ThreeFiveDigit : RateLevel::Basic);
}

bool tallyInCounty(const SortedMailing& mailing) {
    return mailing.mailClass().isPeriodicals() && mailing.periodical().inCountyRates();
}

int32_t countFlats(const SortedMailing& mailing, const RateCategory& category,
                   InCountyTally& inCounty) {
    int32_t pieces = 0;
    for (size_t g = 0; g < mailing.sortGroups().size(); ++g) {
        const SortGroup& group = mailing.sortGroups()[g];
        const Container* sack = mailing.containerOf(group);
        std::optional<CoSackedPart> part = partCounted(mailing, group, sack, category);
        if (!part)
            continue;
        bool counts = *part == CoSackedPart::Automation
                          ? automationGroupCounts(mailing.mailClass(), group, category.level)
                          : nonautomationGroupCounts(mailing, sack, category.level);
        if (!counts)
            continue;
        pieces += group.pieces;
        if (tallyInCounty(mailing))
            pieces = TallyGroupPiecesByLevel(mailing, g, pieces, category.level, inCounty);
    }
    return pieces;
}

int32_t countLetters(const SortedMailing& mailing, const RateCategory& category,
                     InCountyTally& inCounty) {
    bool anyEntry = mailing.mailClass().isPeriodicals();
    int32_t pieces = 0;
    for (size_t k = 0; k < mailing.containers().size(); ++k) {
        const Container& tray = mailing.containers()[k];
        if (!anyEntry && tray.entry != category.entry)
            continue;
        if (tray.level != category.level)
            continue;
        pieces += tray.pieces;
        if (tallyInCounty(mailing))
            pieces = TallyContainerPiecesByLevel(mailing, k, pieces, category.level, inCounty);
    }
    return pieces;
}

} // namespace

int32_t countRatePieces(const SortedMailing& mailing, const RateCategory& category,
                        InCountyTally& inCounty) {
    if (mailing.mailClass().isFlats())
        return countFlats(mailing, category, inCounty);
    return countLetters(mailing, category, inCounty);
}

} // namespace quillan
