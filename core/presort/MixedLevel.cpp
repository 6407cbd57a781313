#include "core/presort/MixedLevel.h"

#include "core/MixedDestination.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/PresortError.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>

namespace quillan {

namespace {

ContainerLevel mixedContainerLevel(const PresortContext& ctx,
                                   const std::vector<int32_t>& contents) {
    using L = ContainerLevel;
    const MailClass code = ctx.mailClass();
    if (code.isAadcAutomationLetters())
        return L::MixedAadc;
    if (!code.isBarcodedFlats())
        return L::Basic;
    bool standard = code.isStandard();
    const WorkTables& t = ctx.tables;
    int32_t least = standard ? 10 : 6;
    bool mixed = false, fiveDigit = false, threeDigit = false;
    for (int32_t g : contents) {
        GroupKind kind = t.sortGroupKinds[at(g)];
        if (t.sortGroupPieces[at(g)] < least || (code.isCoSacked() && t.sortGroupFlags[at(g)] == 1))
            mixed = true;
        else if (kind == GroupKind::FiveDigit)
            fiveDigit = true;
        else if (kind == GroupKind::ThreeDigit)
            threeDigit = true;
        else
            mixed = true;
    }
    bool digit = fiveDigit || threeDigit;
    if (mixed)
        return digit ? L::Mixed : L::Basic;
    if (standard)
        return L::ThreeFiveDigit;
    if (fiveDigit && threeDigit)
        return L::Mixed;
    return fiveDigit ? L::FiveDigit : L::ThreeDigit;
}

// Gathers the unplaced ZIP groups (only those without ZIP+4 with onlyNegative) into one new
// mixed group.
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
    t.addSortGroup(flag, pieces, GroupKind::Mixed, groupLabel(GroupKind::Mixed, ""), 0);
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
    ContainerType type{ContainerKind::Mixed, mixedContainerLevel(ctx, contents),
                       EntryDiscountFor(ctx, GroupKind::Mixed, "")};
    t.addContainer(pieces, containerLabel(ContainerKind::Mixed, "MXD " + mixedDestination(ctx)),
                   type);
    c.placedPieces += pieces;
    ++c.containerCount;
}

} // namespace quillan
