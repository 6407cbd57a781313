#include "core/presort/FiveDigitLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/ProgressPicture.h"
#include "core/presort/CityIndex.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/MailClass.h"
#include "core/presort/PresortRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace quillan {

namespace {

Minimums fiveDigitMinimums(const AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    if (code == "RML")
        return {1, mailTypeNumber(ctx, 6)};
    if (code == "RNML")
        return {10, mailTypeNumber(ctx, 6)};
    if (code == "RAL" || code == "PAL" || code == "FAL")
        return {150, 150};
    if (isPeriodicals(code))
        return {6, periodicalsMinimum(ctx)};
    return {10, standardFlatSackMinimum(ctx)};
}

const char* bottomCaption(const std::string& code) {
    if (isPackagedLetters(code))
        return "Packages and Trays";
    return isTraysOnlyLetters(code) ? "Trays" : "Packages and Sacks";
}

// One ZIP group per distinct key, in ascending order of the ZIP; the pieces of a ZIP with
// and without ZIP+4 (key and -key) sit side by side in the order they were first read.
void buildZipGroups(AppContext& ctx, LevelProgress& progress) {
    WorkTables& t = ctx.tables;
    struct Group {
        int32_t key, pieces, inCounty;
    };
    std::vector<int32_t> slotOfKey(2 * 99999 + 1, -1);
    std::vector<Group> found;
    int32_t records =
        std::min<int32_t>(ctx.counters.RecordCount, static_cast<int32_t>(t.PieceZips.size()) - 1);
    for (int32_t r = 1; r <= records; ++r) {
        int32_t value = t.PieceZips[at(r)];
        if (value > -100000) {
            int32_t key = value % 100000;
            int32_t& slot = slotOfKey[at(key + 99999)];
            if (slot < 0) {
                slot = static_cast<int32_t>(found.size());
                found.push_back({key, 0, 0});
            }
            ++found[at(slot)].pieces;
            if (at(r) < t.PieceInCounty.size() && t.PieceInCounty[at(r)] == "t")
                ++found[at(slot)].inCounty;
        }
        progress.passed(r);
    }
    std::stable_sort(found.begin(), found.end(), [](const Group& a, const Group& b) {
        return std::abs(a.key) < std::abs(b.key);
    });
    t.ZipGroupZips.resize(1);
    t.ZipGroupPieces.resize(1);
    t.ZipGroupInCounty.resize(1);
    t.ZipGroupOwner.resize(1);
    for (const Group& g : found)
        t.insertZipGroup(t.ZipGroupZips.size(), g.key, g.pieces, g.inCounty, 0);
    ctx.counters.ZipGroupCount = static_cast<int32_t>(found.size());
}

std::string fiveDigitLabel(int32_t key) {
    return "5D " + zeroPad(std::abs(key), 5);
}

// Cuts letter groups into trays: full trays while more than a full tray is left, and
// with mm trays a one-foot tray of what is left below the tray minimum.
class TrayCutter {
public:
    TrayCutter(const AppContext& ctx, int32_t containerMinimum)
        : full_(std::max(1, fullTray(ctx))), minimum_(containerMinimum), mm_(mmTrays(ctx)) {}

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
void formFiveDigitGroups(AppContext& ctx, const Minimums& minimums) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    const std::string& code = ctx.MailClassCode;
    bool cutting = code == "RNML" || code == "RML" || code == "PNAL";
    std::optional<TrayCutter> cutter;
    if (cutting)
        cutter.emplace(ctx, minimums.container);

    std::vector<int32_t> zips = std::move(t.ZipGroupZips), pieces = std::move(t.ZipGroupPieces),
                         inCounty = std::move(t.ZipGroupInCounty);
    t.ZipGroupZips = {zips[0]};
    t.ZipGroupPieces = {pieces[0]};
    t.ZipGroupInCounty = {inCounty[0]};
    t.ZipGroupOwner.resize(1);
    for (size_t z = 1; z < zips.size(); ++z) {
        int32_t key = zips[z], p = pieces[z], ic = inCounty[z];
        if (p < minimums.group) {
            t.insertZipGroup(t.ZipGroupZips.size(), key, p, ic, 0);
            continue;
        }
        int32_t flag = key < 0 ? 1 : 0;
        std::string label = fiveDigitLabel(key);
        t.insertZipGroup(t.ZipGroupZips.size(), key, p, ic, c.SortGroupCount);
        t.addSortGroup(flag, p, label, 0);
        c.PiecesDone += p;
        while (cutter && cutter->needsCut(p)) {
            int32_t tray = cutter->trayFor(p);
            int32_t rest = p - tray, restInCounty = ic > tray ? ic - tray : 0;
            t.ZipGroupPieces.back() = tray;
            t.ZipGroupInCounty.back() = std::min(ic, tray);
            t.SortGroupPieces.back() = tray;
            ++c.SortGroupCount;
            t.insertZipGroup(t.ZipGroupZips.size(), key, rest, restInCounty, c.SortGroupCount);
            t.addSortGroup(flag, rest, label, 0);
            p = rest;
            ic = restInCounty;
        }
        ++c.SortGroupCount;
    }
    c.ZipGroupCount = static_cast<int32_t>(t.ZipGroupZips.size()) - 1;
}

const char* fiveDigitContainerLevel(const std::string& code) {
    return code == "RAL" || code == "FAL" || isPeriodicals(code) ? "5-Digit" : "3/5-Digit";
}

std::string tagLine(const AppContext& ctx, const CityIndex& cities, const std::string& label) {
    int32_t entry = chartValue(ctx.lists.ThreeDigitChart, groupPrefix(label));
    std::string zip5 = label.substr(3, 5);
    std::string city =
        entry < 0 ? labelText(ctx.lists.ThreeDigitLabels, -entry) : cities.cityOf(zip5);
    if (city.empty() || city.rfind("  ", 0) == 0)
        city = "<<CITY NOT READ>>";
    return city + " " + zip5;
}

// Letters below 150 pieces get a 5-digit tray only when their 3-digit area holds 150.
class AreaRule {
public:
    AreaRule(const AppContext& ctx, int32_t groupMinimum) {
        const WorkTables& t = ctx.tables;
        for (size_t g = 1; g < at(ctx.counters.SortGroupCount); ++g)
            grouped_[at(groupPrefix(t.SortGroupLabels[g]))] += t.SortGroupPieces[g];
        for (size_t z = 1; z <= at(ctx.counters.ZipGroupCount); ++z)
            if (t.ZipGroupOwner[z] == 0)
                unplaced_[at(zipPrefix(t.ZipGroupZips[z]))] += t.ZipGroupPieces[z];
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

void makeFiveDigitContainers(AppContext& ctx, const Minimums& minimums) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    const std::string& code = ctx.MailClassCode;
    bool areaRule = code == "RNML" || code == "RML";
    std::optional<AreaRule> area;
    if (areaRule)
        area.emplace(ctx, minimums.group);
    CityIndex cities(ctx);
    for (int32_t j = 1; j < c.SortGroupCount;) {
        int32_t p = t.SortGroupPieces[at(j)];
        bool paired = isCoSacked(code) && j < c.SortGroupCount - 1 &&
                      t.SortGroupLabels[at(j + 1)] == t.SortGroupLabels[at(j)];
        if (paired)
            p += t.SortGroupPieces[at(j + 1)];
        int32_t next = j + (paired ? 2 : 1);
        const std::string label = t.SortGroupLabels[at(j)];
        if (p < minimums.container ||
            (area && t.SortGroupPieces[at(j)] < 150 && !area->areaReaches150(groupPrefix(label)))) {
            j = next;
            continue;
        }
        t.SortGroupContainer[at(j)] = c.ContainerCount;
        if (paired)
            t.SortGroupContainer[at(j + 1)] = c.ContainerCount;
        t.addContainer(p, tagLine(ctx, cities, label),
                       EntryDiscountFor(ctx, "5D", label.substr(3, 3)),
                       fiveDigitContainerLevel(code));
        c.PlacedPieces += p;
        ++c.ContainerCount;
        j = next;
    }
}

} // namespace

void Build5DigitLevel(AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    ClearSortPicture(ctx);
    showProgressCaption(ctx, "TopLabel", "Building");
    ShowProgressSticker(ctx, "D", StickerFiveDigit);
    showProgressCaption(ctx, "BottomLabel", bottomCaption(code));
    LevelProgress progress(ctx, ctx.counters.RecordCount - ctx.counters.RejectedCount);
    Minimums minimums = fiveDigitMinimums(ctx);
    buildZipGroups(ctx, progress);
    ctx.counters.PlacedPieces = 0;
    formFiveDigitGroups(ctx, minimums);
    if ((code == "RNML" || code == "RML") && mmTrays(ctx))
        minimums.container = oneFootTray(mailTypeNumber(ctx, 6));
    makeFiveDigitContainers(ctx, minimums);
    progress.finish();
}

void CompactSortGroups(AppContext& ctx) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    if (c.SortGroupCount <= 1)
        return;
    c.PiecesDone = c.PlacedPieces;
    std::vector<int32_t> renamed(at(c.SortGroupCount), 0);
    int32_t next = 1;
    for (int32_t g = 1; g < c.SortGroupCount; ++g) {
        if (t.SortGroupContainer[at(g)] <= 0)
            continue;
        renamed[at(g)] = next;
        if (g == next) {
            ++next;
            continue;
        }
        t.SortGroupFlags[at(next)] = t.SortGroupFlags[at(g)];
        t.SortGroupPieces[at(next)] = t.SortGroupPieces[at(g)];
        t.SortGroupLabels[at(next)] = std::move(t.SortGroupLabels[at(g)]);
        t.SortGroupContainer[at(next)] = t.SortGroupContainer[at(g)];
        ++next;
    }
    for (size_t z = 1; z <= at(c.ZipGroupCount); ++z) {
        int32_t owner = t.ZipGroupOwner[z];
        if (owner > 0 && owner < c.SortGroupCount)
            t.ZipGroupOwner[z] = renamed[at(owner)];
    }
    t.SortGroupFlags.resize(at(next));
    t.SortGroupPieces.resize(at(next));
    t.SortGroupLabels.resize(at(next));
    t.SortGroupContainer.resize(at(next));
    c.SortGroupCount = next;
}

} // namespace quillan
