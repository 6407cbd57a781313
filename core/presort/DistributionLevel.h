#pragma once

#include "core/presort/LevelKeyTable.h"
#include "core/presort/PresortContext.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace quillan {

// Tray or sack limits of one distribution-center container.
struct ContainerLimits {
    int32_t minimum = 0;
    int32_t capacity = std::numeric_limits<int32_t>::max(); // sacks: no limit here
};

// What a distribution-center container holds: pieces of ADC groups (or the nonbarcoded
// groups of a co-sacked class), 3-digit groups and 5-digit groups.
struct DistributionKinds {
    bool distribution = false, threeDigit = false, fiveDigit = false;
};

// The container step shared by the ADC and AADC levels: every uncontained sort group whose
// ADC (or AADC) reaches the minimum goes, with the later groups of the same center, into a
// tray or sack ordered by the center's order code; letter trays over the capacity are
// filled up by the tray cut. Groups whose prefix has no center wait for the mixed level.
struct DistributionLevel {
    const SettingsList* chart = nullptr;  // center number of a 3-digit prefix
    const SettingsList* labels = nullptr; // the centers' label list
    GroupKind groups = GroupKind::Adc;    // the groups the level makes (its entry discount)
    int32_t groupMinimum = 0;             // the least a group left over by a tray cut keeps
    std::function<ContainerLimits(int64_t total)> limits;
    std::function<ContainerLevel(const DistributionKinds&)> level;
};
void makeDistributionContainers(PresortContext& ctx, const DistributionLevel& level);

// The ADC number of an ADC group (its key), or the chart's number for the group's prefix;
// 0 or less means none.
int32_t distributionNumber(const SettingsList& chart, const SortGroup& group);

// Sort groups of `kind` (ADC or AADC) for the keys of the level that reach `groupMinimum`,
// numbered with the key's number, appended in the order of their centers' order codes
// (equal codes in key order); nonbarcoded for a negative key.
void addDistributionGroups(PresortContext& ctx, std::vector<LevelKey>& keys,
                           const SettingsList& labels, GroupKind kind, int32_t groupMinimum);

} // namespace quillan
