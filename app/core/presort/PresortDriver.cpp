#include "core/presort/PresortDriver.h"

#include "core/SortResults.h"

#include "core/presort/ContainerFilling.h"
#include "core/presort/FiveDigitLevel.h"
#include "core/presort/LaterLevels.h"
#include "core/presort/MailClass.h"
#include "core/presort/PackageSplit.h"
#include "core/presort/PresortRules.h"

#include <string>

namespace quillan {

namespace {

// Runs the later levels of the class, each only while pieces remain; returns the name of
// the first one that was needed but is not part of the program.
std::string buildLaterLevels(AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    const LaterLevels& levels = laterLevels();
    std::string missing;
    auto run = [&](LevelBuilder builder, const char* name) {
        if (!piecesRemain(ctx))
            return;
        if (builder)
            builder(ctx);
        else if (missing.empty())
            missing = name;
    };
    bool automationLetters = code == "RAL" || code == "PAL" || code == "FAL";
    if (automationLetters)
        run(levels.build3DigitSchemeLevel, "3-digit scheme");
    else
        run(levels.build3DigitLevel, "3-digit");
    if (code == "PAF" || code == "PNAF" || code == "PCOF")
        run(levels.buildSCFLevel, "SCF");
    if (isTraysOnlyLetters(code)) {
        run(levels.buildAADCLevel, "AADC");
        run(CompactSortGroups, "");
        run(levels.buildAADCGroups, "AADC group");
    } else {
        run(levels.buildADCLevel, "ADC");
    }
    run(levels.buildMixedLevel, "mixed");
    return missing;
}

int32_t unplacedPieces(const AppContext& ctx) {
    const MailingCounters& c = ctx.counters;
    return c.RecordCount - c.PlacedPieces - c.RejectedCount;
}

} // namespace

void RunPresort(AppContext& ctx) {
    ctx.platform.ui.setBusyCursor(true);
    ChooseMailClassCode(ctx);
    const std::string code = ctx.MailClassCode;
    MailingCounters& c = ctx.counters;
    c.SortGroupCount = 1;
    c.ContainerCount = 1;
    c.PiecesDone = c.RejectedCount;
    c.PlacedPieces = 0;

    Build5DigitLevel(ctx);
    if (isTraysOnlyLetters(code))
        CompactSortGroups(ctx);
    std::string missing = buildLaterLevels(ctx);

    if (isFlatClass(code))
        FillFlatContainers(ctx);
    else
        FillLetterTrays(ctx, code);
    SplitLargePackages(ctx);

    if (piecesRemain(ctx)) {
        std::string why = missing.empty() ? std::string()
                                          : ": this version of Quillan cannot build the " +
                                                missing + " level yet";
        throw PresortError("The presort left " + std::to_string(unplacedPieces(ctx)) +
                           " pieces without a tray or sack" + why + ". Nothing was saved.");
    }
    SaveSortResults(ctx);
}

} // namespace quillan
