#include "core/presort/ThreeDigitLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/LevelContainers.h"
#include "core/presort/LevelKeyTable.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace quillan {

namespace {

Minimums threeDigitMinimums(const PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    if (code == MailClass::RML)
        return {1, 150};
    if (code == MailClass::RNML)
        return {10, 150};
    if (code.isPeriodicals())
        return {6, ctx.settings.periodical.containerMinimum()};
    return {10, standardFlatSackMinimum(ctx.settings.mailType)};
}

// The 3-digit key of a ZIP group: a nonbarcoded (negative) key keeps a group of its own.
bool threeDigitKey(int32_t zipKey, int32_t& key) {
    key = zipKey / 100;
    return true;
}

// Steps shared by both builders: unplaced ZIP groups become 3-digit groups of at least the
// group minimum; the rest are marked as left below it.
void formThreeDigitGroups(PresortContext& ctx, int32_t groupMinimum, LevelProgress& progress) {
    std::vector<LevelKey> keys = collectLevelKeys(ctx, threeDigitKey, &progress);
    for (LevelKey& key : keys)
        if (key.pieces >= groupMinimum)
            addKeyGroup(ctx, key, GroupKind::ThreeDigit);
    assignLevelOwners(ctx, keys, threeDigitKey, ZipGroup::BelowMinimum);
}

void startProgress(PresortContext& ctx) {
    ctx.progress.showStage(ProgressSink::Stage::ThreeDigit);
}

// The 3-digit label-list entry of a prefix.
const std::string& threeDigitEntry(const PresortContext& ctx, int prefix) {
    return labelText(ctx.lists.threeDigitLabels,
                     std::abs(chartValue(ctx.lists.threeDigitChart, prefix)));
}

// The kinds of groups in a Periodicals flat container: 3-digit groups (and, co-sacked,
// the nonbarcoded ones) and 5-digit groups.
struct GroupKinds {
    bool threeDigit = false, fiveDigit = false;
    void note(MailClass code, const SortGroup& group) {
        if ((code == MailClass::PCOF && group.nonbarcoded) || isThreeDigitGroup(group.kind))
            threeDigit = true;
        else
            fiveDigit = true;
    }
    ContainerLevel level() const {
        if (threeDigit && fiveDigit)
            return ContainerLevel::Mixed;
        return threeDigit ? ContainerLevel::ThreeDigit : ContainerLevel::FiveDigit;
    }
};

// A 3-digit tray or sack below the container minimum (made only for the mailer's own SCF)
// keeps the digit level for RAF, RCOF, PNAL, PNAF and PCOF, and is Basic for the other
// classes. No family holds just these classes: the rule keeps its own list.
bool keepsDigitLevelBelowMinimum(MailClass code) {
    switch (code.value()) {
    case MailClass::RAF:
    case MailClass::RCOF:
    case MailClass::PNAL:
    case MailClass::PNAF:
    case MailClass::PCOF:
        return true;
    default:
        return false;
    }
}

ContainerLevel threeDigitLevel(MailClass code, bool reachesMinimum) {
    if (!reachesMinimum && !keepsDigitLevelBelowMinimum(code))
        return ContainerLevel::Basic;
    return code.isPeriodicals() ? ContainerLevel::ThreeDigit : ContainerLevel::ThreeFiveDigit;
}

// The groups of every 3-digit area that may go into a 3-digit container, in table order.
// Nothing in an area changes before the scan reaches its first such group, so that group
// decides the area: later ones find a smaller total, or nothing left to contain.
std::vector<std::vector<int32_t>> groupsByPrefix(const PresortContext& ctx,
                                                 const std::vector<bool>& eligible) {
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    std::vector<std::vector<int32_t>> areas(1000);
    for (size_t g = 0; g < groups.size(); ++g)
        if (eligible[g])
            areas[static_cast<size_t>(groups[g].prefix())].push_back(static_cast<int32_t>(g));
    return areas;
}

void makeThreeDigitContainer(PresortContext& ctx, LevelContainers& level, int prefix,
                             const std::vector<int32_t>& area, int32_t minimum) {
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    const MailClass code = ctx.mailClass();
    int64_t total = 0;
    for (int32_t h : area)
        total += groups[static_cast<size_t>(h)].pieces;
    bool periodicalsFlats = code.isPeriodicals() && code.isFlats();
    bool reaches = total >= minimum;
    if (!reaches && (total <= 0 || periodicalsFlats || !inOriginScf(ctx, prefix)))
        return;
    ContainerLevel containerLevel = threeDigitLevel(code, reaches);
    GroupKinds kinds;
    int32_t sum = 0;
    std::vector<int32_t> contents;
    for (int32_t h : area) {
        const SortGroup& group = groups[static_cast<size_t>(h)];
        if (group.contained())
            continue; // a 5-digit tray keeps its own
        contents.push_back(h);
        sum += group.pieces;
        kinds.note(code, group);
    }
    if (sum == 0)
        return;
    if (code.isPeriodicals() && code.isBarcodedFlats())
        containerLevel = kinds.level();
    const std::string& entry = threeDigitEntry(ctx, prefix);
    Container container{.pieces = sum,
                        .kind = ContainerKind::ThreeDigit,
                        .level = containerLevel,
                        .entry = EntryDiscountFor(ctx, GroupKind::ThreeDigit, prefix),
                        .destination = entry + " " + zeroPad(prefix, 3)};
    int64_t key = threeDigitOrderKeyOfEntry(entry, prefix);
    int32_t index = level.add(key, key, std::move(container));
    level.fill(index, contents, sum);
}

} // namespace

void Build3DigitLevel(PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    startProgress(ctx);
    if (code == MailClass::RML)
        ctx.progress.showCaption(ProgressSink::Caption::Bottom, "Groups and Trays");
    LevelProgress progress(ctx, unplacedPieces(ctx));
    LevelContainers level(ctx);
    Minimums minimums = threeDigitMinimums(ctx);
    formThreeDigitGroups(ctx, minimums.group, progress);

    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    bool fiveDigitTraysJoin = code.isStandard() && code.isUnbarcodedLetters();
    std::vector<bool> eligible(groups.size(), false);
    for (size_t g = 0; g < groups.size(); ++g)
        eligible[g] = !groups[g].contained() ||
                      (fiveDigitTraysJoin && groups[g].container < level.levelStart());
    std::vector<std::vector<int32_t>> areas = groupsByPrefix(ctx, eligible);
    std::vector<bool> decided(1000, false);
    for (size_t g = 0; g < eligible.size(); ++g) {
        int prefix = groups[g].prefix();
        if (!eligible[g] || decided[static_cast<size_t>(prefix)])
            continue;
        decided[static_cast<size_t>(prefix)] = true;
        makeThreeDigitContainer(ctx, level, prefix, areas[static_cast<size_t>(prefix)],
                                minimums.container);
    }
    level.finish();
    progress.finish();
}

std::string SchemeCodeFor(const PresortContext& ctx, const std::string& prefix) {
    std::string p = prefix;
    if (p == "969" && ctx.mailClass() == MailClass::FAL)
        p = "967";
    int32_t e = chartValue(ctx.lists.schemeChart, strToInt(p));
    if (e == 0)
        return p;
    const std::string& label = labelText(ctx.lists.schemeLabels, std::abs(e));
    size_t star = label.find('*');
    size_t end = star == std::string::npos ? label.size() : star;
    size_t start = end < 3 ? 0 : end - 3;
    return label.substr(start, end - start);
}

namespace {

// A scheme's tray goes to the scheme's label; a code the scheme chart does not hold (the
// prefix of no scheme) to the 3-digit area of that number.
Container schemeDestination(const PresortContext& ctx, int32_t scheme) {
    int32_t e = chartValue(ctx.lists.schemeChart, scheme);
    if (e == 0)
        return {.kind = ContainerKind::ThreeDigit,
                .destination = threeDigitEntry(ctx, scheme) + " " + zeroPad(scheme, 3)};
    return {.kind = ContainerKind::Scheme,
            .destination = labelText(ctx.lists.schemeLabels, std::abs(e))};
}

ContainerLevel schemeLevel(MailClass code, bool reaches) {
    if (reaches)
        return ContainerLevel::ThreeDigit;
    return code == MailClass::PAL ? ContainerLevel::Basic : ContainerLevel::Aadc;
}

void makeSchemeContainer(PresortContext& ctx, LevelContainers& level, int32_t scheme,
                         const std::vector<int32_t>& members) {
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    int64_t total = 0;
    std::vector<int32_t> origin;
    for (int32_t h : members) {
        total += groups[static_cast<size_t>(h)].pieces;
        if (inOriginScf(ctx, groups[static_cast<size_t>(h)].prefix()))
            origin.push_back(h);
    }
    bool reaches = total >= 150;
    if (!reaches && (total <= 0 || origin.empty()))
        return;
    const std::vector<int32_t>& contents = reaches ? members : origin;
    int32_t sum = 0;
    for (int32_t h : contents)
        sum += groups[static_cast<size_t>(h)].pieces;
    Container container = schemeDestination(ctx, scheme);
    container.pieces = sum;
    container.level = schemeLevel(ctx.mailClass(), reaches);
    container.entry = EntryDiscountFor(ctx, GroupKind::ThreeDigitScheme, scheme);
    int64_t ownKey = schemeOrderKey(container.label());
    int32_t index = level.add(scheme, ownKey, std::move(container));
    level.fill(index, contents, sum);
}

} // namespace

void Build3DigitSchemeLevel(PresortContext& ctx) {
    startProgress(ctx);
    ctx.progress.showCaption(ProgressSink::Caption::Bottom, "Groups and Trays");
    LevelProgress progress(ctx, unplacedPieces(ctx));
    LevelContainers level(ctx);
    formThreeDigitGroups(ctx, 1, progress);

    // Every uncontained group of a scheme, in table order; as with the 3-digit areas, the
    // scheme's first group decides it.
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    std::vector<int32_t> schemeOfPrefix(1000, -1);
    std::vector<int32_t> schemeOfGroup(groups.size(), 0);
    std::unordered_map<int32_t, std::vector<int32_t>> schemes;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].contained())
            continue;
        int prefix = groups[g].prefix();
        int32_t& scheme = schemeOfPrefix[static_cast<size_t>(prefix)];
        if (scheme < 0)
            scheme = strToInt(SchemeCodeFor(ctx, zeroPad(prefix, 3)));
        schemeOfGroup[g] = scheme;
        schemes[scheme].push_back(static_cast<int32_t>(g));
    }
    std::unordered_map<int32_t, bool> decided;
    for (size_t g = 0; g < schemeOfGroup.size(); ++g) {
        if (groups[g].contained())
            continue;
        int32_t scheme = schemeOfGroup[g];
        if (decided[scheme])
            continue;
        decided[scheme] = true;
        makeSchemeContainer(ctx, level, scheme, schemes[scheme]);
    }
    level.finish();
    progress.finish();
}

} // namespace quillan
