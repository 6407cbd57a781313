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
    int32_t least = standard ? 10 : 6;
    bool mixed = false, fiveDigit = false, threeDigit = false;
    for (int32_t g : contents) {
        const SortGroup& group = ctx.tables.sortGroups[static_cast<size_t>(g)];
        if (group.pieces < least || (code.isCoSacked() && group.nonbarcoded))
            mixed = true;
        else if (group.kind == GroupKind::FiveDigit)
            fiveDigit = true;
        else if (group.kind == GroupKind::ThreeDigit)
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

// Gathers the unplaced ZIP groups (only those without ZIP+4 for the nonbarcoded one) into
// one new mixed group.
void gatherMixedGroup(PresortContext& ctx, bool nonbarcoded) {
    WorkTables& t = ctx.tables;
    const int32_t group = static_cast<int32_t>(t.sortGroups.size());
    int32_t pieces = 0;
    for (ZipGroup& zip : t.zipGroups) {
        if (zip.placed() || (nonbarcoded && zip.zip >= 0))
            continue;
        zip.owner = group;
        pieces += zip.pieces;
    }
    if (pieces == 0)
        return;
    t.sortGroups.push_back({.kind = GroupKind::Mixed,
                            .pieces = pieces,
                            .container = SortGroup::NoContainer,
                            .nonbarcoded = nonbarcoded});
    ctx.counters.piecesDone += pieces;
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
    if (ctx.mailClass().isCoSacked())
        gatherMixedGroup(ctx, true);
    gatherMixedGroup(ctx, false);

    const int32_t container = static_cast<int32_t>(t.containers.size());
    std::vector<int32_t> contents;
    int32_t pieces = 0;
    for (size_t g = 0; g < t.sortGroups.size(); ++g) {
        SortGroup& group = t.sortGroups[g];
        if (group.contained())
            continue;
        group.container = container;
        contents.push_back(static_cast<int32_t>(g));
        pieces += group.pieces;
    }
    if (contents.empty())
        return;
    Container mixed{.pieces = pieces,
                    .kind = ContainerKind::Mixed,
                    .level = mixedContainerLevel(ctx, contents),
                    .entry = EntryDiscountFor(ctx, GroupKind::Mixed, 0),
                    .destination = "MXD " + mixedDestination(ctx)};
    t.containers.push_back(std::move(mixed));
    ctx.counters.placedPieces += pieces;
}

} // namespace quillan
