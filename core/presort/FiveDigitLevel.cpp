#include "core/presort/FiveDigitLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/CityIndex.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/PresortRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace quillan {

namespace {

Minimums fiveDigitMinimums(const PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    if (code == MailClass::RML)
        return {1, ctx.settings.mailType.packageFigure()};
    if (code == MailClass::RNML)
        return {10, ctx.settings.mailType.packageFigure()};
    if (code.isAutomationLetters())
        return {150, 150};
    if (code.isPeriodicals())
        return {6, ctx.settings.periodical.containerMinimum()};
    return {10, standardFlatSackMinimum(ctx.settings.mailType)};
}

const char* bottomCaption(MailClass code) {
    if (code.isPackagedLetters())
        return "Packages and Trays";
    return code.isTraysOnlyLetters() ? "Trays" : "Packages and Sacks";
}

// One ZIP group per distinct key, in ascending order of the ZIP; the pieces of a ZIP with
// and without ZIP+4 (key and -key) sit side by side in the order they were first read.
void buildZipGroups(PresortContext& ctx, LevelProgress& progress) {
    WorkTables& t = ctx.tables;
    struct Group {
        int32_t key, pieces, inCounty;
    };
    std::vector<int32_t> slotOfKey(2 * 99999 + 1, -1);
    std::vector<Group> found;
    int32_t records =
        std::min<int32_t>(ctx.counters.recordCount, static_cast<int32_t>(t.pieceZips.size()) - 1);
    for (int32_t r = 1; r <= records; ++r) {
        int32_t value = t.pieceZips[at(r)];
        if (value > -100000) {
            int32_t key = value % 100000;
            int32_t& slot = slotOfKey[at(key + 99999)];
            if (slot < 0) {
                slot = static_cast<int32_t>(found.size());
                found.push_back({key, 0, 0});
            }
            ++found[at(slot)].pieces;
            if (at(r) < t.pieceInCounty.size() && t.pieceInCounty[at(r)] == 1)
                ++found[at(slot)].inCounty;
        }
        progress.passed(r);
    }
    std::stable_sort(found.begin(), found.end(), [](const Group& a, const Group& b) {
        return std::abs(a.key) < std::abs(b.key);
    });
    t.truncateZipGroups();
    for (const Group& g : found)
        t.insertZipGroup(t.zipGroupZips.size(), g.key, g.pieces, g.inCounty, 0);
    ctx.counters.zipGroupCount = static_cast<int32_t>(found.size());
}

std::string fiveDigitLabel(int32_t key) {
    return groupLabel(GroupKind::FiveDigit, zeroPad(std::abs(key), 5));
}

// Cuts letter groups into trays: full trays while more than a full tray is left, and
// with mm trays a one-foot tray of what is left below the tray minimum.
class TrayCutter {
public:
    TrayCutter(const PresortContext& ctx, int32_t containerMinimum)
        : full_(std::max(1, ctx.settings.mailType.fullTray())), minimum_(containerMinimum),
          mm_(ctx.settings.mailType.mmTrays()) {}

    bool needsCut(int32_t pieces) const {
        return pieces > full_ || (mm_ && pieces < minimum_ && pieces > oneFoot(full_));
    }
    // The pieces the current tray keeps.
    int32_t trayFor(int32_t pieces) const { return pieces < minimum_ ? oneFoot(full_) : full_; }

private:
    static int32_t oneFoot(int32_t pieces) { return std::max(1, oneFootTray(pieces)); }
    int32_t full_, minimum_;
    bool mm_;
};

// Makes the 5-digit sort groups. The ZIP-group table is rebuilt in one pass: every original
// row is visited once, and the rows a tray cut adds follow their row with their owner set.
void formFiveDigitGroups(PresortContext& ctx, const Minimums& minimums) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    const MailClass code = ctx.mailClass();
    bool cutting = code.isUnbarcodedLetters();
    std::optional<TrayCutter> cutter;
    if (cutting)
        cutter.emplace(ctx, minimums.container);

    std::vector<int32_t> zips = std::move(t.zipGroupZips), pieces = std::move(t.zipGroupPieces),
                         inCounty = std::move(t.zipGroupInCounty);
    t.zipGroupZips = {zips[0]};
    t.zipGroupPieces = {pieces[0]};
    t.zipGroupInCounty = {inCounty[0]};
    t.zipGroupOwner.resize(1);
    for (size_t z = 1; z < zips.size(); ++z) {
        int32_t key = zips[z], p = pieces[z], ic = inCounty[z];
        if (p < minimums.group) {
            t.insertZipGroup(t.zipGroupZips.size(), key, p, ic, 0);
            continue;
        }
        int32_t flag = key < 0 ? 1 : 0;
        std::string label = fiveDigitLabel(key);
        t.insertZipGroup(t.zipGroupZips.size(), key, p, ic, c.sortGroupCount);
        t.addSortGroup(flag, p, GroupKind::FiveDigit, label, 0);
        c.piecesDone += p;
        while (cutter && cutter->needsCut(p)) {
            int32_t tray = cutter->trayFor(p);
            int32_t rest = p - tray, restInCounty = ic > tray ? ic - tray : 0;
            t.zipGroupPieces.back() = tray;
            t.zipGroupInCounty.back() = std::min(ic, tray);
            t.sortGroupPieces.back() = tray;
            ++c.sortGroupCount;
            t.insertZipGroup(t.zipGroupZips.size(), key, rest, restInCounty, c.sortGroupCount);
            t.addSortGroup(flag, rest, GroupKind::FiveDigit, label, 0);
            p = rest;
            ic = restInCounty;
        }
        ++c.sortGroupCount;
    }
    c.zipGroupCount = static_cast<int32_t>(t.zipGroupZips.size()) - 1;
}

ContainerLevel fiveDigitContainerLevel(MailClass code) {
    return code.isAadcAutomationLetters() || code.isPeriodicals() ? ContainerLevel::FiveDigit
                                                                  : ContainerLevel::ThreeFiveDigit;
}

std::string tagLine(const PresortContext& ctx, const CityIndex& cities, const std::string& label) {
    int32_t entry = chartValue(ctx.lists.threeDigitChart, groupPrefix(label));
    std::string zip5 = label.substr(3, 5);
    std::string city =
        entry < 0 ? labelText(ctx.lists.threeDigitLabels, -entry) : cities.cityOf(zip5);
    if (city.empty() || city.rfind("  ", 0) == 0)
        city = "<<CITY NOT READ>>";
    return city + " " + zip5;
}

// Letters below 150 pieces get a 5-digit tray only when their 3-digit area holds 150.
class AreaRule {
public:
    AreaRule(const PresortContext& ctx, int32_t groupMinimum) {
        const WorkTables& t = ctx.tables;
        for (size_t g = 1; g < at(ctx.counters.sortGroupCount); ++g)
            grouped_[at(groupPrefix(t.sortGroupLabels[g]))] += t.sortGroupPieces[g];
        for (size_t z = 1; z <= at(ctx.counters.zipGroupCount); ++z)
            if (t.zipGroupOwner[z] == 0)
                unplaced_[at(zipPrefix(t.zipGroupZips[z]))] += t.zipGroupPieces[z];
        groupMinimum_ = groupMinimum;
    }
    bool areaReaches150(int prefix) const {
        int64_t area = grouped_[at(prefix)];
        if (area >= 150)
            return true;
        int64_t unplaced = unplaced_[at(prefix)];
        return area + (unplaced < groupMinimum_ ? 0 : unplaced) >= 150;
    }

private:
    std::array<int64_t, 1000> grouped_{}, unplaced_{};
    int32_t groupMinimum_ = 0;
};

void makeFiveDigitContainers(PresortContext& ctx, const Minimums& minimums) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    const MailClass code = ctx.mailClass();
    bool areaRule = code.isStandard() && code.isUnbarcodedLetters();
    std::optional<AreaRule> area;
    if (areaRule)
        area.emplace(ctx, minimums.group);
    CityIndex cities(ctx);
    for (int32_t j = 1; j < c.sortGroupCount;) {
        int32_t p = t.sortGroupPieces[at(j)];
        bool paired = code.isCoSacked() && j < c.sortGroupCount - 1 &&
                      t.sortGroupLabels[at(j + 1)] == t.sortGroupLabels[at(j)];
        if (paired)
            p += t.sortGroupPieces[at(j + 1)];
        int32_t next = j + (paired ? 2 : 1);
        const std::string label = t.sortGroupLabels[at(j)];
        if (p < minimums.container ||
            (area && t.sortGroupPieces[at(j)] < 150 && !area->areaReaches150(groupPrefix(label)))) {
            j = next;
            continue;
        }
        t.sortGroupContainer[at(j)] = c.containerCount;
        if (paired)
            t.sortGroupContainer[at(j + 1)] = c.containerCount;
        ContainerType type{ContainerKind::FiveDigit, fiveDigitContainerLevel(code),
                           EntryDiscountFor(ctx, GroupKind::FiveDigit, label.substr(3, 3))};
        t.addContainer(p, tagLine(ctx, cities, label), type);
        c.placedPieces += p;
        ++c.containerCount;
        j = next;
    }
}

} // namespace

void Build5DigitLevel(PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    ctx.progress.clearPicture();
    ctx.progress.showCaption(ProgressSink::Caption::Top, "Building");
    ctx.progress.showStage(ProgressSink::Stage::FiveDigit);
    ctx.progress.showCaption(ProgressSink::Caption::Bottom, bottomCaption(code));
    LevelProgress progress(ctx, ctx.counters.validPieces());
    Minimums minimums = fiveDigitMinimums(ctx);
    buildZipGroups(ctx, progress);
    ctx.counters.placedPieces = 0;
    formFiveDigitGroups(ctx, minimums);
    if (code.isStandard() && code.isUnbarcodedLetters() && ctx.settings.mailType.mmTrays())
        minimums.container = oneFootTray(ctx.settings.mailType.packageFigure());
    makeFiveDigitContainers(ctx, minimums);
    progress.finish();
}

void CompactSortGroups(PresortContext& ctx) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    if (c.sortGroupCount <= 1)
        return;
    c.piecesDone = c.placedPieces;
    std::vector<int32_t> renamed(at(c.sortGroupCount), 0);
    int32_t next = 1;
    for (int32_t g = 1; g < c.sortGroupCount; ++g) {
        if (t.sortGroupContainer[at(g)] <= 0)
            continue;
        renamed[at(g)] = next;
        if (g == next) {
            ++next;
            continue;
        }
        t.sortGroupFlags[at(next)] = t.sortGroupFlags[at(g)];
        t.sortGroupPieces[at(next)] = t.sortGroupPieces[at(g)];
        t.sortGroupKinds[at(next)] = t.sortGroupKinds[at(g)];
        t.sortGroupLabels[at(next)] = std::move(t.sortGroupLabels[at(g)]);
        t.sortGroupContainer[at(next)] = t.sortGroupContainer[at(g)];
        ++next;
    }
    for (size_t z = 1; z <= at(c.zipGroupCount); ++z) {
        int32_t owner = t.zipGroupOwner[z];
        if (owner > 0 && owner < c.sortGroupCount)
            t.zipGroupOwner[z] = renamed[at(owner)];
    }
    t.sortGroupFlags.resize(at(next));
    t.sortGroupPieces.resize(at(next));
    t.sortGroupKinds.resize(at(next));
    t.sortGroupLabels.resize(at(next));
    t.sortGroupContainer.resize(at(next));
    c.sortGroupCount = next;
}

} // namespace quillan
