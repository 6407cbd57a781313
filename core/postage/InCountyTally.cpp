#include "core/postage/InCountyTally.h"

namespace quillan {

namespace {

int32_t takeInCounty(const SortedMailing& mailing, size_t g, int32_t pieces, RateLevel level,
                     InCountyTally& tally, bool nonbarcodedApart) {
    std::optional<int> index = presortLevelIndex(level);
    for (int32_t z : mailing.zipGroupsOf(g)) {
        const ZipGroup& zipGroup = mailing.zipGroups()[static_cast<size_t>(z)];
        if (zipGroup.inCounty <= 0)
            continue;
        pieces -= zipGroup.inCounty;
        if (!index)
            continue;
        auto& counters =
            nonbarcodedApart && zipGroup.zip <= 0 ? tally.nonbarcodedPieces : tally.pieces;
        counters[static_cast<size_t>(*index)] += zipGroup.inCounty;
    }
    return pieces;
}

} // namespace

std::optional<int> presortLevelIndex(RateLevel level) {
    switch (level) {
    case RateLevel::Basic:
        return 0;
    case RateLevel::ThreeDigit:
        return 1;
    case RateLevel::FiveDigit:
        return 2;
    default:
        return std::nullopt;
    }
}

int32_t TallyGroupPiecesByLevel(const SortedMailing& mailing, size_t g, int32_t pieces,
                                RateLevel level, InCountyTally& tally) {
    bool apart = mailing.mailClass() == MailClass::PCOF;
    return takeInCounty(mailing, g, pieces, level, tally, apart);
}

int32_t TallyContainerPiecesByLevel(const SortedMailing& mailing, size_t k, int32_t pieces,
                                    RateLevel level, InCountyTally& tally) {
    for (int32_t g : mailing.sortGroupsIn(k))
        pieces = takeInCounty(mailing, static_cast<size_t>(g), pieces, level, tally, false);
    return pieces;
}

} // namespace quillan
