#include "core/presort/PresortDriver.h"

#include "core/SortResults.h"

#include "core/presort/ContainerFilling.h"
#include "core/presort/FiveDigitLevel.h"
#include "core/presort/MailClass.h"
#include "core/presort/MixedLevel.h"
#include "core/presort/PackageSplit.h"
#include "core/presort/PresortRules.h"

#include <string>

namespace quillan {

namespace {

// Runs the later levels of the class, each only while pieces remain.
void buildLaterLevels(AppContext& ctx, const LaterLevels& levels) {
    const std::string& code = ctx.MailClassCode;
    auto run = [&](LevelBuilder builder) {
        if (piecesRemain(ctx))
            builder(ctx);
    };
    bool automationLetters = code == "RAL" || code == "PAL" || code == "FAL";
    run(automationLetters ? levels.build3DigitSchemeLevel : levels.build3DigitLevel);
    if (code == "PAF" || code == "PNAF" || code == "PCOF")
        run(levels.buildSCFLevel);
    if (isTraysOnlyLetters(code)) {
        run(levels.buildAADCLevel);
        run(CompactSortGroups);
        run(levels.buildAADCGroups);
    } else {
        run(levels.buildADCLevel);
    }
    run(levels.buildMixedLevel);
}

int32_t unplacedPieces(const AppContext& ctx) {
    const MailingCounters& c = ctx.counters;
    return c.RecordCount - c.PlacedPieces - c.RejectedCount;
}

} // namespace

void RunPresort(AppContext& ctx) {
    RunPresortWith(ctx, laterLevels());
}

void RunPresortWith(AppContext& ctx, const LaterLevels& levels) {
    ctx.platform.ui.setBusyCursor(true);
    ChooseMailClassCode(ctx);
    mixedDestination(ctx); // refuses the sort now rather than after the levels
    const std::string code = ctx.MailClassCode;
    MailingCounters& c = ctx.counters;
    c.SortGroupCount = 1;
    c.ContainerCount = 1;
    c.PiecesDone = c.RejectedCount;
    c.PlacedPieces = 0;

    Build5DigitLevel(ctx);
    if (isTraysOnlyLetters(code))
        CompactSortGroups(ctx);
    buildLaterLevels(ctx, levels);

    if (isFlatClass(code))
        FillFlatContainers(ctx);
    else
        FillLetterTrays(ctx, code);
    SplitLargePackages(ctx);

    // Every level up to the mixed one places what it gathers; this guards the counts.
    if (piecesRemain(ctx))
        throw PresortError("The presort left " + std::to_string(unplacedPieces(ctx)) +
                           " pieces without a tray or sack. Nothing was saved.");
    SaveSortResults(ctx);
}

} // namespace quillan
