#include "core/presort/ThreeDigitLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/ProgressPicture.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/LevelContainers.h"
#include "core/presort/LevelKeyTable.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/MailClass.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace quillan {

namespace {

Minimums threeDigitMinimums(const AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    if (code == "RML")
        return {1, 150};
    if (code == "RNML")
        return {10, 150};
    if (isPeriodicals(code))
        return {6, periodicalsMinimum(ctx)};
    return {10, standardFlatSackMinimum(ctx)};
}

// The 3-digit key of a ZIP group: a nonbarcoded (negative) key keeps a group of its own.
bool threeDigitKey(int32_t zipKey, int32_t& key) {
    key = zipKey / 100;
    return true;
}

std::string threeDigitGroupLabel(int32_t key) {
    return "3D " + zeroPad(std::abs(key), 3);
}

// Steps shared by both builders: unplaced ZIP groups become 3-digit groups of at least the
// group minimum; the rest are marked as left below it.
void formThreeDigitGroups(AppContext& ctx, int32_t groupMinimum, LevelProgress& progress) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    collectLevelKeys(ctx, threeDigitKey, &progress);
    for (size_t k = 1; k < t.LevelKeys.size(); ++k) {
        if (t.LevelKeyPieces[k] < groupMinimum)
            continue;
        int32_t key = t.LevelKeys[k];
        t.addSortGroup(key < 0 ? 1 : 0, t.LevelKeyPieces[k], threeDigitGroupLabel(key), 0);
        t.LevelKeyGroups[k] = c.SortGroupCount;
        c.PiecesDone += t.LevelKeyPieces[k];
        ++c.SortGroupCount;
    }
    assignLevelOwners(ctx, threeDigitKey, -1);
}

void startProgress(AppContext& ctx) {
    ShowProgressSticker(ctx, "3", StickerThreeDigit);
}

int64_t unplacedAtStart(const AppContext& ctx) {
    const MailingCounters& c = ctx.counters;
    return c.RecordCount - c.RejectedCount - c.PlacedPieces;
}

// The 3-digit label-list entry of a prefix.
const std::string& threeDigitEntry(const AppContext& ctx, int prefix) {
    return labelText(ctx.lists.ThreeDigitLabels,
                     std::abs(chartValue(ctx.lists.ThreeDigitChart, prefix)));
}

// The kinds of groups in a Periodicals flat container: 3-digit groups (and, co-sacked,
// the nonbarcoded ones) and 5-digit groups.
struct GroupKinds {
    bool threeDigit = false, fiveDigit = false;
    void note(const std::string& code, int32_t flag, const std::string& label) {
        if ((code == "PCOF" && flag == 1) || label.rfind('3', 0) == 0)
            threeDigit = true;
        else
            fiveDigit = true;
    }
    std::string level() const {
        if (threeDigit && fiveDigit)
            return "Mixed";
        return threeDigit ? "3-Digit" : "5-Digit";
    }
};

std::string threeDigitLevelText(const std::string& code, bool reachesMinimum) {
    bool digitLevel = reachesMinimum || code == "RAF" || code == "PNAL" || code == "PNAF" ||
                      code == "PCOF" || code == "RCOF";
    if (!digitLevel)
        return "Basic";
    return isPeriodicals(code) ? "3-Digit" : "3/5-Digit";
}

// The groups of every 3-digit area that may go into a 3-digit container, in row order.
// Nothing in an area changes before the scan reaches its first such group, so that group
// decides the area: later ones find a smaller total, or nothing left to contain.
std::vector<std::vector<int32_t>> groupsByPrefix(const AppContext& ctx,
                                                 const std::vector<bool>& eligible) {
    const WorkTables& t = ctx.tables;
    std::vector<std::vector<int32_t>> areas(1000);
    for (int32_t g = 1; g < ctx.counters.SortGroupCount; ++g)
        if (eligible[at(g)])
            areas[at(groupPrefix(t.SortGroupLabels[at(g)]))].push_back(g);
    return areas;
}

void makeThreeDigitContainer(AppContext& ctx, LevelContainers& level, int prefix,
                             const std::vector<int32_t>& area, int32_t minimum) {
    WorkTables& t = ctx.tables;
    const std::string& code = ctx.MailClassCode;
    int64_t total = 0;
    for (int32_t h : area)
        total += t.SortGroupPieces[at(h)];
    bool periodicalsFlats = code == "PAF" || code == "PNAF" || code == "PCOF";
    bool reaches = total >= minimum;
    if (!reaches && (total <= 0 || periodicalsFlats || !inOriginScf(ctx, prefix)))
        return;
    std::string levelText = threeDigitLevelText(code, reaches);
    GroupKinds kinds;
    int32_t sum = 0;
    std::vector<int32_t> contents;
    for (int32_t h : area) {
        if (t.SortGroupContainer[at(h)] != 0)
            continue; // a 5-digit tray keeps its own
        contents.push_back(h);
        sum += t.SortGroupPieces[at(h)];
        kinds.note(code, t.SortGroupFlags[at(h)], t.SortGroupLabels[at(h)]);
    }
    if (sum == 0)
        return;
    if (code == "PAF" || code == "PCOF")
        levelText = kinds.level();
    const std::string& entry = threeDigitEntry(ctx, prefix);
    std::string label = entry + " " + zeroPad(prefix, 3);
    int32_t number =
        level.add(threeDigitOrderKeyOfEntry(entry, prefix), threeDigitOrderKey(label), sum, label,
                  EntryDiscountFor(ctx, "3D", zeroPad(prefix, 3)), levelText);
    for (int32_t h : contents)
        t.SortGroupContainer[at(h)] = number;
    ctx.counters.PlacedPieces += sum;
}

} // namespace

void Build3DigitLevel(AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    startProgress(ctx);
    if (code == "RML")
        showProgressCaption(ctx, "BottomLabel", "Groups and Trays");
    LevelProgress progress(ctx, unplacedAtStart(ctx));
    LevelContainers level(ctx);
    Minimums minimums = threeDigitMinimums(ctx);
    formThreeDigitGroups(ctx, minimums.group, progress);

    const WorkTables& t = ctx.tables;
    bool fiveDigitTraysJoin = code == "RML" || code == "RNML";
    std::vector<bool> eligible(at(ctx.counters.SortGroupCount), false);
    for (int32_t g = 1; g < ctx.counters.SortGroupCount; ++g) {
        int32_t container = t.SortGroupContainer[at(g)];
        eligible[at(g)] = container <= 0 || (fiveDigitTraysJoin && container <= level.levelStart());
    }
    std::vector<std::vector<int32_t>> areas = groupsByPrefix(ctx, eligible);
    std::vector<bool> decided(1000, false);
    for (int32_t g = 1; g < static_cast<int32_t>(eligible.size()); ++g) {
        int prefix = groupPrefix(t.SortGroupLabels[at(g)]);
        if (!eligible[at(g)] || decided[at(prefix)])
            continue;
        decided[at(prefix)] = true;
        makeThreeDigitContainer(ctx, level, prefix, areas[at(prefix)], minimums.container);
    }
    level.finish();
    progress.finish();
}

std::string SchemeCodeFor(const AppContext& ctx, const std::string& prefix) {
    std::string p = prefix;
    if (p == "969" && ctx.MailClassCode == "FAL")
        p = "967";
    int32_t e = chartValue(ctx.lists.SchemeChart, strToInt(p));
    if (e == 0)
        return p;
    const std::string& label = labelText(ctx.lists.SchemeLabels, std::abs(e));
    size_t star = label.find('*');
    size_t end = star == std::string::npos ? label.size() : star;
    size_t start = end < 3 ? 0 : end - 3;
    return label.substr(start, end - start);
}

namespace {

std::string schemeContainerLabel(const AppContext& ctx, int32_t scheme) {
    int32_t e = chartValue(ctx.lists.SchemeChart, scheme);
    if (e == 0)
        return threeDigitEntry(ctx, scheme) + " " + zeroPad(scheme, 3);
    return "#" + labelText(ctx.lists.SchemeLabels, std::abs(e));
}

std::string schemeLevelText(const std::string& code, bool reaches) {
    if (reaches)
        return "3-Digit";
    return code == "PAL" ? "Basic" : "AADC";
}

void makeSchemeContainer(AppContext& ctx, LevelContainers& level, int32_t scheme,
                         const std::vector<int32_t>& members) {
    WorkTables& t = ctx.tables;
    int64_t total = 0;
    std::vector<int32_t> origin;
    for (int32_t h : members) {
        total += t.SortGroupPieces[at(h)];
        if (inOriginScf(ctx, groupPrefix(t.SortGroupLabels[at(h)])))
            origin.push_back(h);
    }
    bool reaches = total >= 150;
    if (!reaches && (total <= 0 || origin.empty()))
        return;
    const std::vector<int32_t>& contents = reaches ? members : origin;
    int32_t sum = 0;
    for (int32_t h : contents)
        sum += t.SortGroupPieces[at(h)];
    std::string label = schemeContainerLabel(ctx, scheme);
    int32_t number = level.add(scheme, schemeOrderKey(label), sum, label,
                               EntryDiscountFor(ctx, "3S", intToStr(scheme)),
                               schemeLevelText(ctx.MailClassCode, reaches));
    for (int32_t h : contents)
        t.SortGroupContainer[at(h)] = number;
    ctx.counters.PlacedPieces += sum;
}

} // namespace

void Build3DigitSchemeLevel(AppContext& ctx) {
    startProgress(ctx);
    showProgressCaption(ctx, "BottomLabel", "Groups and Trays");
    LevelProgress progress(ctx, unplacedAtStart(ctx));
    LevelContainers level(ctx);
    formThreeDigitGroups(ctx, 1, progress);

    // Every uncontained group of a scheme, in row order; as with the 3-digit areas, the
    // scheme's first group decides it.
    const WorkTables& t = ctx.tables;
    std::vector<int32_t> schemeOfPrefix(1000, -1);
    std::vector<int32_t> schemeOfGroup(at(ctx.counters.SortGroupCount), 0);
    std::unordered_map<int32_t, std::vector<int32_t>> schemes;
    for (int32_t g = 1; g < ctx.counters.SortGroupCount; ++g) {
        if (t.SortGroupContainer[at(g)] > 0)
            continue;
        int prefix = groupPrefix(t.SortGroupLabels[at(g)]);
        int32_t& scheme = schemeOfPrefix[at(prefix)];
        if (scheme < 0)
            scheme = strToInt(SchemeCodeFor(ctx, zeroPad(prefix, 3)));
        schemeOfGroup[at(g)] = scheme;
        schemes[scheme].push_back(g);
    }
    std::unordered_map<int32_t, bool> decided;
    for (int32_t g = 1; g < static_cast<int32_t>(schemeOfGroup.size()); ++g) {
        if (t.SortGroupContainer[at(g)] > 0)
            continue;
        int32_t scheme = schemeOfGroup[at(g)];
        if (decided[scheme])
            continue;
        decided[scheme] = true;
        makeSchemeContainer(ctx, level, scheme, schemes[scheme]);
    }
    level.finish();
    progress.finish();
}

} // namespace quillan
