#include "core/presort/PresortDriver.h"

#include "core/presort/ContainerFilling.h"
#include "core/presort/FiveDigitLevel.h"
#include "core/presort/MixedLevel.h"
#include "core/presort/PackageSplit.h"
#include "core/presort/PresortError.h"
#include "core/presort/PresortRules.h"

#include <string>

namespace quillan {

namespace {

// Runs the later levels of the class, each only while pieces remain.
void buildLaterLevels(PresortContext& ctx, const LaterLevels& levels) {
    const MailClass code = ctx.mailClass();
    auto run = [&](LevelBuilder builder) {
        if (piecesRemain(ctx))
            builder(ctx);
    };
    run(code.isAutomationLetters() ? levels.build3DigitSchemeLevel : levels.build3DigitLevel);
    if (code.isPeriodicals() && code.isFlats())
        run(levels.buildSCFLevel);
    if (code.isTraysOnlyLetters()) {
        run(levels.buildAADCLevel);
        run(CompactSortGroups);
        run(levels.buildAADCGroups);
    } else {
        run(levels.buildADCLevel);
    }
    run(levels.buildMixedLevel);
}

} // namespace

SortedMailing RunPresort(Mailing mailing, const SettingsLists& lists, ProgressSink& progress) {
    const PresortSettings settings = PresortSettings::of(lists);
    PresortContext presort{mailing, lists, settings, progress};
    RunPresortWith(presort, laterLevels());
    return SortedMailing(std::move(mailing), settings.mailClass, lists);
}

void RunPresortWith(PresortContext& ctx, const LaterLevels& levels) {
    mixedDestination(ctx); // refuses the sort now rather than after the levels
    const MailClass code = ctx.mailClass();
    MailingCounters& c = ctx.counters;
    ctx.tables.sortGroups.clear();
    ctx.tables.containers.clear();
    c.piecesDone = c.rejectedCount;
    c.placedPieces = 0;

    Build5DigitLevel(ctx);
    if (code.isTraysOnlyLetters())
        CompactSortGroups(ctx);
    buildLaterLevels(ctx, levels);

    if (code.isFlats())
        FillFlatContainers(ctx);
    else
        FillLetterTrays(ctx);
    SplitLargePackages(ctx);

    // Every level up to the mixed one places what it gathers; this guards the counts.
    if (piecesRemain(ctx))
        throw PresortError("The presort left " + std::to_string(unplacedPieces(ctx)) +
                           " pieces without a tray or sack. Nothing was saved.");
}

} // namespace quillan
