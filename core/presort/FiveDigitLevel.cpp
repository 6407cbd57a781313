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
void buildZipGroups(PresortContext& ctx, LevelProgress& progress, CityIndex& cities) {
    std::vector<int32_t> slotOfKey(2 * 99999 + 1, -1);
    std::vector<ZipGroup> found;
    const std::vector<Piece>& pieces = ctx.tables.pieces;
    for (size_t r = 0; r < pieces.size(); ++r) {
        const Piece& piece = pieces[r];
        if (!piece.rejected()) {
            cities.note(r);
            int32_t& slot = slotOfKey[static_cast<size_t>(piece.zipKey() + 99999)];
            if (slot < 0) {
                slot = static_cast<int32_t>(found.size());
                found.push_back({.zip = piece.zipKey()});
            }
            ZipGroup& group = found[static_cast<size_t>(slot)];
            ++group.pieces;
            group.inCounty += piece.inCounty ? 1 : 0;
        }
        progress.passed(static_cast<int64_t>(r) + 1);
    }
    std::stable_sort(found.begin(), found.end(), [](const ZipGroup& a, const ZipGroup& b) {
        return std::abs(a.zip) < std::abs(b.zip);
    });
    ctx.tables.zipGroups = std::move(found);
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

// Makes the 5-digit sort groups. The ZIP groups are rebuilt in one pass: every ZIP group is
// visited once, and the ones a tray cut adds follow it with their owner set.
void formFiveDigitGroups(PresortContext& ctx, const Minimums& minimums) {
    WorkTables& t = ctx.tables;
    std::optional<TrayCutter> cutter;
    if (ctx.mailClass().isUnbarcodedLetters())
        cutter.emplace(ctx, minimums.container);

    std::vector<ZipGroup> found = std::move(t.zipGroups);
    t.zipGroups.clear();
    for (ZipGroup zip : found) {
        if (zip.pieces < minimums.group) {
            t.zipGroups.push_back(zip);
            continue;
        }
        SortGroup group{.kind = GroupKind::FiveDigit,
                        .key = std::abs(zip.zip),
                        .pieces = zip.pieces,
                        .container = SortGroup::NoContainer,
                        .nonbarcoded = zip.zip < 0};
        ctx.counters.piecesDone += zip.pieces;
        while (cutter && cutter->needsCut(zip.pieces)) {
            int32_t tray = cutter->trayFor(zip.pieces);
            ZipGroup rest{zip.zip, zip.pieces - tray, zip.inCounty > tray ? zip.inCounty - tray : 0,
                          ZipGroup::Unplaced};
            zip.pieces = group.pieces = tray;
            zip.inCounty = std::min(zip.inCounty, tray);
            zip.owner = static_cast<int32_t>(t.sortGroups.size());
            t.zipGroups.push_back(zip);
            t.sortGroups.push_back(group);
            zip = rest;
            group.pieces = rest.pieces;
        }
        zip.owner = static_cast<int32_t>(t.sortGroups.size());
        t.zipGroups.push_back(zip);
        t.sortGroups.push_back(group);
    }
}

ContainerLevel fiveDigitContainerLevel(MailClass code) {
    return code.isAadcAutomationLetters() || code.isPeriodicals() ? ContainerLevel::FiveDigit
                                                                  : ContainerLevel::ThreeFiveDigit;
}

std::string tagLine(const PresortContext& ctx, const CityIndex& cities, const SortGroup& group) {
    int32_t entry = chartValue(ctx.lists.threeDigitChart, group.prefix());
    std::string city =
        entry < 0 ? labelText(ctx.lists.threeDigitLabels, -entry) : cities.cityOf(group.key);
    if (city.empty() || city.rfind("  ", 0) == 0)
        city = "<<CITY NOT READ>>";
    return city + " " + group.keyText();
}

// Letters below 150 pieces get a 5-digit tray only when their 3-digit area holds 150.
class AreaRule {
public:
    AreaRule(const PresortContext& ctx, int32_t groupMinimum) : groupMinimum_(groupMinimum) {
        for (const SortGroup& group : ctx.tables.sortGroups)
            grouped_[static_cast<size_t>(group.prefix())] += group.pieces;
        for (const ZipGroup& zip : ctx.tables.zipGroups)
            if (!zip.placed())
                unplaced_[static_cast<size_t>(zipPrefix(zip.zip))] += zip.pieces;
    }
    bool areaReaches150(int prefix) const {
        int64_t area = grouped_[static_cast<size_t>(prefix)];
        if (area >= 150)
            return true;
        int64_t unplaced = unplaced_[static_cast<size_t>(prefix)];
        return area + (unplaced < groupMinimum_ ? 0 : unplaced) >= 150;
    }

private:
    std::array<int64_t, 1000> grouped_{}, unplaced_{};
    int32_t groupMinimum_ = 0;
};

// The barcoded and nonbarcoded groups of one ZIP, side by side, share a co-sacked sack.
bool pairedWithNext(const PresortContext& ctx, size_t j) {
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    return ctx.mailClass().isCoSacked() && j + 1 < groups.size() &&
           groups[j + 1].kind == groups[j].kind && groups[j + 1].key == groups[j].key;
}

void makeFiveDigitContainers(PresortContext& ctx, const Minimums& minimums,
                             const CityIndex& cities) {
    WorkTables& t = ctx.tables;
    const MailClass code = ctx.mailClass();
    std::optional<AreaRule> area;
    if (code.isStandard() && code.isUnbarcodedLetters())
        area.emplace(ctx, minimums.group);
    for (size_t j = 0; j < t.sortGroups.size();) {
        const SortGroup& group = t.sortGroups[j];
        bool paired = pairedWithNext(ctx, j);
        int32_t p = group.pieces + (paired ? t.sortGroups[j + 1].pieces : 0);
        size_t next = j + (paired ? 2 : 1);
        if (p < minimums.container ||
            (area && group.pieces < 150 && !area->areaReaches150(group.prefix()))) {
            j = next;
            continue;
        }
        Container container{.pieces = p,
                            .kind = ContainerKind::FiveDigit,
                            .level = fiveDigitContainerLevel(code),
                            .entry = EntryDiscountFor(ctx, GroupKind::FiveDigit, group.prefix()),
                            .destination = tagLine(ctx, cities, group)};
        for (size_t g = j; g < next; ++g)
            t.sortGroups[g].container = static_cast<int32_t>(t.containers.size());
        t.containers.push_back(std::move(container));
        ctx.counters.placedPieces += p;
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
    LevelProgress progress(ctx, ctx.mailing.validPieces());
    Minimums minimums = fiveDigitMinimums(ctx);
    CityIndex cities(ctx.tables);
    buildZipGroups(ctx, progress, cities);
    ctx.counters.placedPieces = 0;
    formFiveDigitGroups(ctx, minimums);
    if (code.isStandard() && code.isUnbarcodedLetters() && ctx.settings.mailType.mmTrays())
        minimums.container = oneFootTray(ctx.settings.mailType.packageFigure());
    makeFiveDigitContainers(ctx, minimums, cities);
    progress.finish();
}

void CompactSortGroups(PresortContext& ctx) {
    WorkTables& t = ctx.tables;
    if (t.sortGroups.empty())
        return;
    ctx.counters.piecesDone = ctx.counters.placedPieces;
    std::vector<int32_t> renamed(t.sortGroups.size(), ZipGroup::Unplaced);
    std::vector<SortGroup> kept;
    for (size_t g = 0; g < t.sortGroups.size(); ++g) {
        if (!t.sortGroups[g].contained())
            continue;
        renamed[g] = static_cast<int32_t>(kept.size());
        kept.push_back(t.sortGroups[g]);
    }
    for (ZipGroup& zip : t.zipGroups)
        if (zip.placed() && static_cast<size_t>(zip.owner) < renamed.size())
            zip.owner = renamed[static_cast<size_t>(zip.owner)];
    t.sortGroups = std::move(kept);
}

} // namespace quillan
