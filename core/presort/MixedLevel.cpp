#include "core/presort/MixedLevel.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/MailClass.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>

namespace quillan {

namespace {

// The label that `chart` names for `prefix`, refusing the sort when it names none.
const std::string& chartLabel(const SettingsList& chart, const char* chartFile,
                              const SettingsList& labels, int prefix) {
    int32_t number = prefix >= 1 && prefix <= 999 ? chartValue(chart, prefix) : 0;
    if (number == 0)
        throw PresortError("The mixed tray or sack cannot be labelled: line " +
                           std::to_string(prefix) + " of " + chartFile +
                           " names no label for the mailer's ZIP prefix " + zeroPad(prefix, 3) +
                           ". Correct the chart under Postal Lists, or the mailer's ZIP under "
                           "Settings, and sort again.");
    return labelText(labels, std::abs(number));
}

// First-Class mixed trays go to an SCF: the one of the BMC/ASF entry label's facility when
// the mailer enters at a BMC that has one, else the mailer's own.
std::string firstClassDestination(const AppContext& ctx, int q, bool bmcEntry) {
    const SettingsLists& l = ctx.lists;
    if (bmcEntry && chartValue(l.DbmcChart, q) != 0) {
        const std::string& bmc = chartLabel(l.DbmcChart, "dbmcchrt.dat", l.BmcAsfLabels, q);
        size_t n = bmc.size();
        std::string facility =
            n >= 6 && bmc[n - 6] == ' ' ? bmc.substr(n - 5, 3) : bmc.substr(n < 3 ? 0 : n - 3);
        int32_t prefix = 0;
        if (!tryStrToInt(facility, prefix))
            throw PresortError("The mixed tray cannot be labelled: the BMC/ASF entry label \"" +
                               bmc + "\" in bmcalist.dat does not end in a 3-digit prefix.");
        return chartLabel(l.ScfChart, "scfchrt.dat", l.ScfLabels, prefix);
    }
    return chartLabel(l.ScfChart, "scfchrt.dat", l.ScfLabels, q);
}

std::string mixedLevelText(const AppContext& ctx, const std::vector<int32_t>& contents) {
    const std::string& code = ctx.MailClassCode;
    if (code == "RAL" || code == "FAL")
        return "Mixed AADC";
    bool standard = code == "RAF" || code == "RCOF";
    bool periodicals = code == "PAF" || code == "PCOF";
    if (!standard && !periodicals)
        return "Basic";
    const WorkTables& t = ctx.tables;
    int32_t least = standard ? 10 : 6;
    bool mixed = false, fiveDigit = false, threeDigit = false;
    for (int32_t g : contents) {
        const std::string& label = t.SortGroupLabels[at(g)];
        if (t.SortGroupPieces[at(g)] < least || (isCoSacked(code) && t.SortGroupFlags[at(g)] == 1))
            mixed = true;
        else if (label.rfind("5D", 0) == 0)
            fiveDigit = true;
        else if (label.rfind("3D", 0) == 0)
            threeDigit = true;
        else
            mixed = true;
    }
    bool digit = fiveDigit || threeDigit;
    if (mixed)
        return digit ? "Mixed" : "Basic";
    if (standard)
        return "3/5-Digit";
    if (fiveDigit && threeDigit)
        return "Mixed";
    return fiveDigit ? "5-Digit" : "3-Digit";
}

// Gathers the unplaced ZIP groups that pass `joins` into one new "MA" group.
void gatherMixedGroup(AppContext& ctx, int32_t flag, bool onlyNegative) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    int32_t pieces = 0;
    for (size_t z = 1; z <= at(c.ZipGroupCount); ++z) {
        if (t.ZipGroupOwner[z] > 0 || (onlyNegative && t.ZipGroupZips[z] >= 0))
            continue;
        t.ZipGroupOwner[z] = c.SortGroupCount;
        pieces += t.ZipGroupPieces[z];
    }
    if (pieces == 0)
        return;
    t.addSortGroup(flag, pieces, "MA", 0);
    c.PiecesDone += pieces;
    ++c.SortGroupCount;
}

} // namespace

std::string mixedDestination(const AppContext& ctx) {
    const SettingsLists& l = ctx.lists;
    const std::string& code = ctx.MailClassCode;
    int q = mailerPrefix(ctx);
    bool bmcEntry = l.MailerList[4] == "2";
    if (code == "FAL")
        return firstClassDestination(ctx, q, bmcEntry);
    bool periodicals = isPeriodicals(code);
    if (code == "RNML" || code == "RNAF" || code == "PNAL" || code == "PNAF") {
        const std::string& adc =
            periodicals ? chartLabel(l.AdcPeriodicalChart, "adcpchrt.dat", l.AdcLabels, q)
                        : chartLabel(l.AdcStandardChart, "adcschrt.dat", l.AdcLabels, q);
        return adc.size() > 4 ? adc.substr(4) : std::string();
    }
    if (bmcEntry)
        return chartLabel(l.DbmcChart, "dbmcchrt.dat", l.BmcAsfLabels, q);
    return periodicals ? chartLabel(l.NonBmcPeriodicalChart, "nbmpchrt.dat", l.NonBmcLabels, q)
                       : chartLabel(l.NonBmcStandardChart, "nbmschrt.dat", l.NonBmcLabels, q);
}

void BuildMixedLevel(AppContext& ctx) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    if (isCoSacked(ctx.MailClassCode))
        gatherMixedGroup(ctx, 1, true);
    gatherMixedGroup(ctx, 0, false);

    std::vector<int32_t> contents;
    int32_t pieces = 0;
    for (int32_t g = 1; g < c.SortGroupCount; ++g) {
        if (t.SortGroupContainer[at(g)] > 0)
            continue;
        t.SortGroupContainer[at(g)] = c.ContainerCount;
        contents.push_back(g);
        pieces += t.SortGroupPieces[at(g)];
    }
    if (contents.empty())
        return;
    std::string entry = EntryDiscountFor(ctx, "MXD", "");
    t.addContainer(pieces, "%MXD " + mixedDestination(ctx), entry, mixedLevelText(ctx, contents));
    c.PlacedPieces += pieces;
    ++c.ContainerCount;
}

} // namespace quillan
