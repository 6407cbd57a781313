#pragma once

#include "core/SortedMailing.h"
#include "core/postage/RateCategory.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quillan {

// In-county Periodicals pieces by presort level. When a mailing claims in-county rates,
// the rate lines take the in-county pieces of every tray, sack or group they count out of
// their own count and into this tally, which the in-county piece charges then price.
struct InCountyTally {
    // Basic, 3-Digit, 5-Digit: indexed by presortLevelIndex.
    std::array<int32_t, 3> pieces{};
    // The same for the ZIP groups without ZIP+4 of co-sacked Periodicals, which take the
    // nonautomation in-county rates.
    std::array<int32_t, 3> nonbarcodedPieces{};

    friend bool operator==(const InCountyTally&, const InCountyTally&) = default;
};

// 0, 1, 2 for Basic, 3-Digit and 5-Digit; nothing for the levels the in-county rates do
// not have (their in-county pieces leave the count without landing anywhere).
std::optional<int> presortLevelIndex(RateLevel level);

// The pieces less the in-county pieces of the ZIP groups of sort group g, which are added
// to the tally under the level (co-sacked Periodicals: groups without ZIP+4 apart).
int32_t TallyGroupPiecesByLevel(const SortedMailing& mailing, size_t g, int32_t pieces,
                                RateLevel level, InCountyTally& tally);
// The same for every ZIP group of every sort group in tray or sack k, never apart.
int32_t TallyContainerPiecesByLevel(const SortedMailing& mailing, size_t k, int32_t pieces,
                                    RateLevel level, InCountyTally& tally);

} // namespace quillan
