#include "tests/core/presort/LiteralLevels.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/MixedLevel.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortRules.h"
#include "core/presort/ThreeDigitLevel.h"
#include "tests/support/SortTables.h"

#include <cstdlib>
#include <limits>

namespace quillan::test {

namespace {

using Ctx = PresortContext;

size_t at(int32_t n) {
    return static_cast<size_t>(n);
}

int32_t indexOf(size_t n) {
    return static_cast<int32_t>(n);
}

// The settings read line by line, as the rules state them.
std::string classCode(const Ctx& ctx) {
    return std::string(ctx.mailClass().code());
}
bool isPeriodicals(const std::string& code) {
    return code[0] == 'P';
}
bool isCoSacked(const std::string& code) {
    return code == "RCOF" || code == "PCOF";
}
bool isFlatClass(const std::string& code) {
    return code.back() == 'F';
}
int32_t mailTypeNumber(const Ctx& ctx, long line) {
    return ctx.settings.mailType.numberAt(line);
}
bool mmTrays(const Ctx& ctx) {
    return ctx.settings.mailType[8] == "0";
}
int32_t periodicalsMinimum(const Ctx& ctx) {
    return ctx.settings.periodical.numberAt(6);
}
int32_t standardFlatSackMinimum(const Ctx& ctx) {
    return quillan::standardFlatSackMinimum(ctx.settings.mailType);
}
int mailerPrefix(const Ctx& ctx) {
    return strToInt(ctx.settings.mailer[3].substr(0, 3));
}

// Every table row read as the rules read it: sort groups by their labels.
int32_t groupCount(const Ctx& ctx) {
    return indexOf(ctx.tables.sortGroups.size());
}
int32_t containerCount(const Ctx& ctx) {
    return indexOf(ctx.tables.containers.size());
}
int32_t pieces(const Ctx& ctx, int32_t g) {
    return ctx.tables.sortGroups[at(g)].pieces;
}
int32_t container(const Ctx& ctx, int32_t g) {
    return ctx.tables.sortGroups[at(g)].container;
}
bool contained(const Ctx& ctx, int32_t g) {
    return container(ctx, g) >= 0;
}
bool flagged(const Ctx& ctx, int32_t g) {
    return ctx.tables.sortGroups[at(g)].nonbarcoded;
}
std::string labelOf(const Ctx& ctx, int32_t g) {
    return ctx.tables.sortGroups[at(g)].label();
}
// Characters 4 to 6 of a group's label as a number; 0 when they are not digits.
int prefixOf(const Ctx& ctx, int32_t g) {
    std::string label = labelOf(ctx, g);
    if (label.size() < 6 || label.substr(3, 3).find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return strToInt(label.substr(3, 3));
}
// The first three characters of the last blank-separated word of a container label.
std::string entryKeyOfLabel(const std::string& label) {
    size_t blank = label.rfind(' ');
    return blank == std::string::npos ? std::string() : label.substr(blank + 1, 3);
}

// The keys of a level: their pieces and the sort group each was given.
struct KeyRow {
    int32_t key;
    int32_t pieces;
    int32_t group = -1;
};
using KeyRows = std::vector<KeyRow>;

// Adds the pieces of ZIP group z to its key's row, appending the key when it is new.
void addToKey(KeyRows& keys, int32_t key, int32_t zipPieces) {
    for (KeyRow& row : keys)
        if (row.key == key) {
            row.pieces += zipPieces;
            return;
        }
    keys.push_back({key, zipPieces});
}

int32_t groupOfKey(const KeyRows& keys, int32_t key) {
    for (const KeyRow& row : keys)
        if (row.key == key)
            return row.group;
    return -1;
}

// A 3-digit container's key read off its label: the three digits before a "!" that is the
// fifth character from the end, else the last three.
int64_t threeDigitOrderKey(const std::string& label) {
    size_t n = label.size();
    if (n >= 5 && label[n - 5] == '!')
        return strToInt(label.substr(n < 8 ? 0 : n - 8, n < 8 ? n - 5 : 3));
    return strToInt(label.size() < 3 ? label : label.substr(label.size() - 3));
}

// Inserts a container at its ordered place among E to the last and renumbers the groups'
// links; returns its index.
template <typename KeyOf>
int32_t insertOrdered(Ctx& ctx, int32_t E, int64_t key, KeyOf keyOf, int32_t n,
                      const std::string& label, EntryDiscount entry, const std::string& level) {
    WorkTables& t = ctx.tables;
    int32_t row = containerCount(ctx);
    for (int32_t k = E; k < containerCount(ctx); ++k)
        if (keyOf(t.containers[at(k)].label()) > key) {
            row = k;
            break;
        }
    for (SortGroup& group : t.sortGroups)
        if (group.container >= row)
            ++group.container;
    t.containers.insert(t.containers.begin() + row,
                        test::container(n, label, entryText(entry), level));
    ctx.counters.placedPieces += n;
    return row;
}

void addGroupAt(Ctx& ctx, int32_t row, bool nonbarcoded, int32_t n, const std::string& label) {
    WorkTables& t = ctx.tables;
    t.sortGroups.insert(t.sortGroups.begin() + row, sortGroup(label, n, 0, nonbarcoded));
}

void threeDigitKeysGroupsOwners(Ctx& ctx, int32_t groupMinimum) {
    WorkTables& t = ctx.tables;
    KeyRows keys;
    for (const ZipGroup& zip : t.zipGroups)
        if (zip.owner < 0)
            addToKey(keys, zip.zip / 100, zip.pieces);
    for (KeyRow& row : keys) {
        if (row.pieces < groupMinimum)
            continue;
        row.group = groupCount(ctx);
        addGroupAt(ctx, row.group, row.key < 0, row.pieces, "3D " + zeroPad(std::abs(row.key), 3));
        ctx.counters.piecesDone += row.pieces;
    }
    for (ZipGroup& zip : t.zipGroups) {
        if (zip.owner >= 0)
            continue;
        int32_t group = groupOfKey(keys, zip.zip / 100);
        zip.owner = group >= 0 ? group : ZipGroup::BelowMinimum;
    }
}

void literal3Digit(Ctx& ctx) {
    const std::string code = classCode(ctx);
    int32_t E = containerCount(ctx);
    int32_t groupMinimum = code == "RML" ? 1 : isPeriodicals(code) ? 6 : 10;
    int32_t minimum = code == "RML" || code == "RNML" ? 150
                      : isPeriodicals(code)           ? periodicalsMinimum(ctx)
                                                      : standardFlatSackMinimum(ctx);
    threeDigitKeysGroupsOwners(ctx, groupMinimum);
    auto eligible = [&](int32_t g) {
        return !contained(ctx, g) || ((code == "RML" || code == "RNML") && container(ctx, g) < E);
    };
    for (int32_t g = 0; g < groupCount(ctx); ++g) {
        if (!eligible(g))
            continue;
        int P = prefixOf(ctx, g);
        int64_t total = 0;
        for (int32_t h = g; h < groupCount(ctx); ++h)
            if (eligible(h) && prefixOf(ctx, h) == P)
                total += pieces(ctx, h);
        bool pFlats = code == "PAF" || code == "PNAF" || code == "PCOF";
        if (!(total >= minimum || (total > 0 && !pFlats && inOriginScf(ctx, P))))
            continue;
        std::string level = "Basic";
        if (total >= minimum || code == "RAF" || code == "PNAL" || code == "PNAF" ||
            code == "PCOF" || code == "RCOF")
            level = code[0] == 'P' ? "3-Digit" : "3/5-Digit";
        int32_t sum = 0;
        bool three = false, five = false;
        for (int32_t h = g; h < groupCount(ctx); ++h) {
            if (contained(ctx, h) || prefixOf(ctx, h) != P)
                continue;
            sum += pieces(ctx, h);
            bool isThree = (code == "PCOF" && flagged(ctx, h)) || labelOf(ctx, h)[0] == '3';
            (isThree ? three : five) = true;
        }
        if (sum == 0)
            continue;
        if (code == "PAF" || code == "PCOF")
            level = three && five ? "Mixed" : three ? "3-Digit" : "5-Digit";
        std::string L = labelText(ctx.lists.threeDigitLabels,
                                  std::abs(chartValue(ctx.lists.threeDigitChart, P)));
        std::string label = L + " " + zeroPad(P, 3);
        std::vector<int32_t> contents;
        for (int32_t h = g; h < groupCount(ctx); ++h)
            if (!contained(ctx, h) && prefixOf(ctx, h) == P)
                contents.push_back(h);
        int32_t row =
            insertOrdered(ctx, E, threeDigitOrderKeyOfEntry(L, P), threeDigitOrderKey, sum, label,
                          EntryDiscountFor(ctx, GroupKind::ThreeDigit,
                                           entryPrefixOf(label.substr(label.size() - 3))),
                          level);
        for (int32_t h : contents)
            ctx.tables.sortGroups[at(h)].container = row;
    }
}

void literalScheme(Ctx& ctx) {
    const std::string code = classCode(ctx);
    int32_t E = containerCount(ctx);
    threeDigitKeysGroupsOwners(ctx, 1);
    auto scheme = [&](int32_t g) {
        return strToInt(SchemeCodeFor(ctx, zeroPad(prefixOf(ctx, g), 3)));
    };
    for (int32_t g = 0; g < groupCount(ctx); ++g) {
        if (contained(ctx, g))
            continue;
        int32_t s = scheme(g);
        std::vector<int32_t> marked, originMarked;
        int64_t total = 0;
        for (int32_t h = g; h < groupCount(ctx); ++h)
            if (!contained(ctx, h) && scheme(h) == s) {
                marked.push_back(h);
                total += pieces(ctx, h);
                if (inOriginScf(ctx, prefixOf(ctx, h)))
                    originMarked.push_back(h);
            }
        if (!(total >= 150 || (total > 0 && !originMarked.empty())))
            continue;
        const std::vector<int32_t>& contents = total >= 150 ? marked : originMarked;
        int32_t sum = 0;
        for (int32_t h : contents)
            sum += pieces(ctx, h);
        int32_t e = chartValue(ctx.lists.schemeChart, s);
        std::string label = e == 0 ? labelText(ctx.lists.threeDigitLabels,
                                               std::abs(chartValue(ctx.lists.threeDigitChart, s))) +
                                         " " + zeroPad(s, 3)
                                   : "#" + labelText(ctx.lists.schemeLabels, std::abs(e));
        std::string level = total >= 150 ? "3-Digit" : code == "PAL" ? "Basic" : "AADC";
        int32_t row = insertOrdered(
            ctx, E, s, schemeOrderKey, sum, label,
            EntryDiscountFor(ctx, GroupKind::ThreeDigitScheme, entryPrefixOf(std::to_string(s))),
            level);
        for (int32_t h : contents)
            ctx.tables.sortGroups[at(h)].container = row;
    }
}

void literalScf(Ctx& ctx) {
    const std::string code = classCode(ctx);
    int32_t E = containerCount(ctx);
    int32_t minimum = periodicalsMinimum(ctx);
    auto scf = [&](int32_t g) { return chartValue(ctx.lists.scfChart, prefixOf(ctx, g)); };
    auto ownKey = [](const std::string& label) {
        std::string text = label.substr(4);
        if (!text.empty() && text.back() == '*')
            text.pop_back();
        return scfOrderKey(text);
    };
    for (int32_t g = 0; g < groupCount(ctx); ++g) {
        if (contained(ctx, g))
            continue;
        int32_t n = scf(g);
        if (n == 0)
            continue;
        int32_t total = 0;
        for (int32_t h = g; h < groupCount(ctx); ++h)
            if (!contained(ctx, h) && scf(h) == n)
                total += pieces(ctx, h);
        bool own = chartValue(ctx.lists.scfChart, mailerPrefix(ctx)) == n;
        if (!(total >= minimum || (total > 0 && own)))
            continue;
        bool three = false, five = false, nonbarcoded = false;
        std::vector<int32_t> contents;
        for (int32_t h = g; h < groupCount(ctx); ++h) {
            if (contained(ctx, h) || scf(h) != n)
                continue;
            contents.push_back(h);
            if (code == "PCOF" && flagged(ctx, h))
                nonbarcoded = true;
            else
                (labelOf(ctx, h)[0] == '3' ? three : five) = true;
        }
        std::string level;
        if (code == "PNAF")
            level = "Basic";
        else if (code == "PAF")
            level = three && five ? "Mixed" : three ? "3-Digit" : "5-Digit";
        else
            level = three + five + nonbarcoded >= 2 ? "Mixed"
                    : three                         ? "3-Digit"
                    : five                          ? "5-Digit"
                                                    : "Basic";
        std::string L = labelText(ctx.lists.scfLabels, std::abs(n));
        int32_t row = insertOrdered(
            ctx, E, scfOrderKey(L), ownKey, total, "SCF " + L + (n < 0 ? "*" : ""),
            EntryDiscountFor(ctx, GroupKind::Scf, entryPrefixOf(L.substr(L.size() - 3))), level);
        for (int32_t h : contents)
            ctx.tables.sortGroups[at(h)].container = row;
    }
}

// The shared container step of the ADC and AADC levels.
struct Center {
    const SettingsList* chart;
    const SettingsList* labels;
    GroupKind building;
    int32_t groupMinimum;
    bool aadc;
};

int32_t centerOf(const Ctx& ctx, const Center& center, int32_t g) {
    const std::string label = labelOf(ctx, g);
    if (label.rfind("AD ", 0) == 0)
        return strToInt(label.substr(3));
    int p = prefixOf(ctx, g);
    return p == 0 ? 0 : chartValue(*center.chart, p);
}

void limitsFor(const Ctx& ctx, const Center& center, int64_t total, int32_t& minimum,
               int32_t& capacity) {
    const std::string code = classCode(ctx);
    capacity = std::numeric_limits<int32_t>::max();
    if (isFlatClass(code)) {
        minimum = isPeriodicals(code) ? periodicalsMinimum(ctx) : standardFlatSackMinimum(ctx);
        return;
    }
    if (center.aadc && code != "RML") {
        minimum = 150;
        return;
    }
    int32_t line6 = mailTypeNumber(ctx, 6), line7 = mailTypeNumber(ctx, 7);
    bool mm = mmTrays(ctx);
    minimum = code == "PNAL" ? periodicalsMinimum(ctx) : mm ? oneFootTray(line6) : line6;
    capacity = mm ? oneFootTray(line7) : line7;
    if (total >= line6) {
        minimum = line6;
        capacity = line7;
    }
}

// Cuts group G into the tray; returns the pieces it keeps there.
int32_t trayCut(Ctx& ctx, const Center& center, int32_t G, int32_t& s, int32_t minimum,
                int32_t capacity) {
    std::vector<ZipGroup>& zips = ctx.tables.zipGroups;
    int32_t P = pieces(ctx, G), kept = 0;
    std::vector<int32_t> rest;
    for (int32_t z = 0; z < indexOf(zips.size()); ++z) {
        if (zips[at(z)].owner != G)
            continue;
        int32_t room = capacity - s;
        if ((s >= minimum && kept >= center.groupMinimum) || room <= 0) {
            rest.push_back(z);
            continue;
        }
        int32_t zp = zips[at(z)].pieces, ic = zips[at(z)].inCounty;
        if (zp > room) {
            zips.insert(zips.begin() + z + 1,
                        ZipGroup{zips[at(z)].zip, zp - room, ic > room ? ic - room : 0, G});
            zips[at(z)].pieces = room;
            zips[at(z)].inCounty = std::min(ic, room);
            zp = room;
            rest.push_back(z + 1);
            s += zp;
            kept += zp;
            ++z; // the new row is part of the rest, not of the rows being taken
            continue;
        }
        s += zp;
        kept += zp;
    }
    if (kept == 0)
        return 0;
    ctx.tables.sortGroups[at(G)].pieces = kept;
    int32_t left = P - kept;
    if (left == 0)
        return kept;
    if (left < center.groupMinimum) {
        for (int32_t z : rest)
            zips[at(z)].owner = ZipGroup::Unplaced;
        ctx.counters.piecesDone -= left;
        return kept;
    }
    auto zipOf = [&](int32_t z) { return std::abs(zips[at(z)].zip) % 100000; };
    bool oneZip = true, onePrefix = true;
    for (int32_t z : rest) {
        oneZip = oneZip && zipOf(z) == zipOf(rest[0]);
        onePrefix = onePrefix && zipOf(z) / 100 == zipOf(rest[0]) / 100;
    }
    std::string label = oneZip      ? "5D " + zeroPad(zipOf(rest[0]), 5)
                        : onePrefix ? "3D " + zeroPad(zipOf(rest[0]) / 100, 3)
                                    : labelOf(ctx, G);
    addGroupAt(ctx, G + 1, flagged(ctx, G), left, label);
    for (ZipGroup& zip : zips)
        if (zip.owner > G)
            ++zip.owner;
    for (int32_t z : rest)
        zips[at(z)].owner = G + 1;
    return kept;
}

std::string centerLevelText(const Ctx& ctx, const Center& center,
                            const std::vector<int32_t>& contents) {
    const std::string code = classCode(ctx);
    if (center.aadc)
        return code == "RAL" || code == "FAL" ? "AADC" : "Basic";
    bool adc = false, three = false, five = false;
    for (int32_t h : contents) {
        const std::string label = labelOf(ctx, h);
        if (label.rfind("AD", 0) == 0 || (isCoSacked(code) && flagged(ctx, h)))
            adc = true;
        else if (label.rfind("3D", 0) == 0)
            three = true;
        else
            five = true;
    }
    if (code == "RAF" || code == "RCOF")
        return adc ? (three || five ? "Mixed" : "Basic") : "3/5-Digit";
    if (code == "PAF" || code == "PCOF") {
        if (adc)
            return three || five ? "Mixed" : "Basic";
        return three && five ? "Mixed" : five ? "5-Digit" : "3-Digit";
    }
    return "Basic";
}

void centerContainers(Ctx& ctx, const Center& center) {
    int32_t E = containerCount(ctx);
    for (int32_t g = 0; g < groupCount(ctx); ++g) {
        if (contained(ctx, g))
            continue;
        int32_t a = centerOf(ctx, center, g);
        if (a <= 0)
            continue;
        int64_t total = 0;
        for (int32_t h = g; h < groupCount(ctx); ++h)
            if (!contained(ctx, h) && centerOf(ctx, center, h) == a)
                total += pieces(ctx, h);
        int32_t minimum = 0, capacity = 0;
        limitsFor(ctx, center, total, minimum, capacity);
        if (total < minimum)
            continue;
        std::vector<int32_t> contents;
        int32_t s = 0;
        for (int32_t h = g; h < groupCount(ctx); ++h) {
            if (contained(ctx, h) || centerOf(ctx, center, h) != a)
                continue;
            if (total <= capacity || s + pieces(ctx, h) <= capacity) {
                contents.push_back(h);
                s += pieces(ctx, h);
                continue;
            }
            if (s < minimum && trayCut(ctx, center, h, s, minimum, capacity) > 0)
                contents.push_back(h);
            break;
        }
        if (s <= 0)
            continue;
        std::string L = labelText(*center.labels, a);
        std::string label = "$" + L;
        int32_t row = insertOrdered(
            ctx, E, distributionOrderCode(L), distributionOrderCode, s, label,
            EntryDiscountFor(ctx, center.building, entryPrefixOf(entryKeyOfLabel(label))),
            centerLevelText(ctx, center, contents));
        for (int32_t h : contents)
            ctx.tables.sortGroups[at(h)].container = row;
    }
}

// Groups for the keys that reach the minimum, each inserted among the level's groups by
// its center's order code.
void centerGroups(Ctx& ctx, KeyRows& keys, const SettingsList& labels, const std::string& prefix,
                  int32_t groupMinimum) {
    int32_t G = groupCount(ctx);
    auto codeOfGroup = [&](int32_t r) {
        return distributionOrderCode(labelText(labels, strToInt(labelOf(ctx, r).substr(3))));
    };
    for (KeyRow& row : keys) {
        if (row.pieces < groupMinimum)
            continue;
        int64_t code = distributionOrderCode(labelText(labels, std::abs(row.key)));
        int32_t place = groupCount(ctx);
        for (int32_t r = G; r < groupCount(ctx); ++r)
            if (codeOfGroup(r) > code) {
                place = r;
                break;
            }
        addGroupAt(ctx, place, row.key < 0, row.pieces, prefix + std::to_string(std::abs(row.key)));
        for (KeyRow& other : keys)
            if (other.group >= place)
                ++other.group;
        row.group = place;
        ctx.counters.piecesDone += row.pieces;
    }
}

const SettingsList& adcChart(const Ctx& ctx) {
    return isPeriodicals(classCode(ctx)) ? ctx.lists.adcPeriodicalChart
                                         : ctx.lists.adcStandardChart;
}
const SettingsList& aadcChart(const Ctx& ctx) {
    return classCode(ctx) == "FAL" ? ctx.lists.aadcFirstClassChart : ctx.lists.aadcStandardChart;
}

void centerKeysAndOwners(Ctx& ctx, const SettingsList& chart, bool apart,
                         const SettingsList& labels, const std::string& prefix,
                         int32_t groupMinimum) {
    KeyRows keys;
    auto keyOf = [&](const ZipGroup& zip, int32_t& key) {
        int32_t a = chartValue(chart, zipPrefix(zip.zip));
        key = apart && zip.zip < 0 ? -a : a;
        return a > 0;
    };
    for (const ZipGroup& zip : ctx.tables.zipGroups) {
        int32_t key = 0;
        if (zip.owner < 0 && keyOf(zip, key))
            addToKey(keys, key, zip.pieces);
    }
    centerGroups(ctx, keys, labels, prefix, groupMinimum);
    for (ZipGroup& zip : ctx.tables.zipGroups) {
        if (zip.owner >= 0)
            continue;
        int32_t key = 0, group = -1;
        if (keyOf(zip, key))
            group = groupOfKey(keys, key);
        zip.owner = group >= 0 ? group : ZipGroup::Unplaced;
    }
}

void literalAdc(Ctx& ctx) {
    const std::string code = classCode(ctx);
    int32_t groupMinimum = isPeriodicals(code) ? 6 : 10;
    centerKeysAndOwners(ctx, adcChart(ctx), isCoSacked(code), ctx.lists.adcLabels, "AD ",
                        groupMinimum);
    centerContainers(ctx,
                     {&adcChart(ctx), &ctx.lists.adcLabels, GroupKind::Adc, groupMinimum, false});
}

void literalAadc(Ctx& ctx) {
    centerContainers(ctx, {&aadcChart(ctx), &ctx.lists.aadcLabels, GroupKind::Aadc, 10, true});
}

void literalAadcGroups(Ctx& ctx) {
    centerKeysAndOwners(ctx, aadcChart(ctx), false, ctx.lists.aadcLabels, "AA ", 1);
}

} // namespace

const LaterLevels& literalLevels() {
    // The mixed level is a single plain pass already; it is shared.
    static const LaterLevels levels{literal3Digit, literalScheme,     literalScf,     literalAdc,
                                    literalAadc,   literalAadcGroups, BuildMixedLevel};
    return levels;
}

} // namespace quillan::test
