#include "core/presort/MixedLevel.h"

#include "core/MixedDestination.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/PresortError.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>

namespace quillan {

namespace {

std::string mixedLevelText(const PresortContext& ctx, const std::vector<int32_t>& contents) {
    const MailClass code = ctx.mailClass();
    if (code == MailClass::RAL || code == MailClass::FAL)
        return "Mixed AADC";
    bool standard = code == MailClass::RAF || code == MailClass::RCOF;
    bool periodicals = code == MailClass::PAF || code == MailClass::PCOF;
    if (!standard && !periodicals)
        return "Basic";
    const WorkTables& t = ctx.tables;
    int32_t least = standard ? 10 : 6;
    bool mixed = false, fiveDigit = false, threeDigit = false;
    for (int32_t g : contents) {
        const std::string& label = t.sortGroupLabels[at(g)];
        if (t.sortGroupPieces[at(g)] < least || (code.isCoSacked() && t.sortGroupFlags[at(g)] == 1))
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
void gatherMixedGroup(PresortContext& ctx, int32_t flag, bool onlyNegative) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    int32_t pieces = 0;
    for (size_t z = 1; z <= at(c.zipGroupCount); ++z) {
        if (t.zipGroupOwner[z] > 0 || (onlyNegative && t.zipGroupZips[z] >= 0))
            continue;
        t.zipGroupOwner[z] = c.sortGroupCount;
        pieces += t.zipGroupPieces[z];
    }
    if (pieces == 0)
        return;
    t.addSortGroup(flag, pieces, "MA", 0);
    c.piecesDone += pieces;
    ++c.sortGroupCount;
}

} // namespace

std::string mixedDestination(const PresortContext& ctx) {
    MixedDestination d = findMixedDestination(ctx.lists, ctx.settings.mailer, ctx.mailClass());
    if (!d.label)
        throw PresortError(d.problem);
    // An ADC label begins with "ADC ", which the container's "%MXD " stands for.
    if (d.adc)
        return d.label->size() > 4 ? d.label->substr(4) : std::string();
    return *d.label;
}

void BuildMixedLevel(PresortContext& ctx) {
    WorkTables& t = ctx.tables;
    MailingCounters& c = ctx.counters;
    if (ctx.mailClass().isCoSacked())
        gatherMixedGroup(ctx, 1, true);
    gatherMixedGroup(ctx, 0, false);

    std::vector<int32_t> contents;
    int32_t pieces = 0;
    for (int32_t g = 1; g < c.sortGroupCount; ++g) {
        if (t.sortGroupContainer[at(g)] > 0)
            continue;
        t.sortGroupContainer[at(g)] = c.containerCount;
        contents.push_back(g);
        pieces += t.sortGroupPieces[at(g)];
    }
    if (contents.empty())
        return;
    std::string entry = EntryDiscountFor(ctx, "MXD", "");
    t.addContainer(pieces, "%MXD " + mixedDestination(ctx), entry, mixedLevelText(ctx, contents));
    c.placedPieces += pieces;
    ++c.containerCount;
}

} // namespace quillan
