#include "core/presort/AdcLevel.h"

#include "core/PostalCharts.h"
#include "core/ProgressPicture.h"
#include "core/presort/DistributionLevel.h"
#include "core/presort/LevelKeyTable.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/MailClass.h"
#include "core/presort/PresortRules.h"

namespace quillan {

namespace {

const SettingsList& adcChart(const AppContext& ctx) {
    return isPeriodicals(ctx.MailClassCode) ? ctx.lists.AdcPeriodicalChart
                                            : ctx.lists.AdcStandardChart;
}

const SettingsList& aadcChart(const AppContext& ctx) {
    return ctx.MailClassCode == "FAL" ? ctx.lists.AadcFirstClassChart : ctx.lists.AadcStandardChart;
}

int64_t unplacedAtStart(const AppContext& ctx) {
    const MailingCounters& c = ctx.counters;
    return c.RecordCount - c.RejectedCount - c.PlacedPieces;
}

void startProgress(AppContext& ctx) {
    ClearSortPicture(ctx);
    ShowProgressSticker(ctx, "A", StickerAdc);
}

// Letter trays: one-foot trays with mm trays, two-foot ones once a center's pieces reach
// the tray minimum of mailtype.dat line 6.
ContainerLimits letterTrayLimits(const AppContext& ctx, int64_t total, int32_t minimum) {
    int32_t twoFootMinimum = mailTypeNumber(ctx, 6);
    int32_t full = fullTray(ctx);
    if (total >= twoFootMinimum)
        return {twoFootMinimum, full};
    return {minimum, mmTrays(ctx) ? oneFootTray(full) : full};
}

int32_t adcGroupMinimum(const std::string& code) {
    return isPeriodicals(code) ? 6 : 10;
}

std::string adcLevelText(const std::string& code, const DistributionKinds& kinds) {
    bool digit = kinds.threeDigit || kinds.fiveDigit;
    if (code == "RAF" || code == "RCOF") {
        if (kinds.distribution)
            return digit ? "Mixed" : "Basic";
        return "3/5-Digit";
    }
    if (code == "PAF" || code == "PCOF") {
        if (kinds.distribution)
            return digit ? "Mixed" : "Basic";
        if (kinds.threeDigit && kinds.fiveDigit)
            return "Mixed";
        return kinds.fiveDigit ? "5-Digit" : "3-Digit";
    }
    return "Basic";
}

DistributionLevel adcLevel(const AppContext& ctx) {
    const std::string code = ctx.MailClassCode;
    DistributionLevel level;
    level.chart = &adcChart(ctx);
    level.labels = &ctx.lists.AdcLabels;
    level.entryLevel = "AD";
    level.groupMinimum = adcGroupMinimum(code);
    if (isFlatClass(code)) {
        int32_t minimum = flatSackMinimum(ctx);
        level.limits = [minimum](int64_t) { return ContainerLimits{minimum}; };
    } else {
        int32_t minimum = code == "PNAL" ? periodicalsMinimum(ctx)
                          : mmTrays(ctx) ? oneFootTray(mailTypeNumber(ctx, 6))
                                         : mailTypeNumber(ctx, 6);
        level.limits = [&ctx, minimum](int64_t total) {
            return letterTrayLimits(ctx, total, minimum);
        };
    }
    level.levelText = [code](const DistributionKinds& kinds) { return adcLevelText(code, kinds); };
    return level;
}

DistributionLevel aadcLevel(const AppContext& ctx) {
    const std::string code = ctx.MailClassCode;
    DistributionLevel level;
    level.chart = &aadcChart(ctx);
    level.labels = &ctx.lists.AadcLabels;
    level.entryLevel = "AA";
    level.groupMinimum = 10;
    if (code == "RML") {
        int32_t minimum =
            mmTrays(ctx) ? oneFootTray(mailTypeNumber(ctx, 6)) : mailTypeNumber(ctx, 6);
        level.limits = [&ctx, minimum](int64_t total) {
            return letterTrayLimits(ctx, total, minimum);
        };
    } else {
        level.limits = [](int64_t) { return ContainerLimits{150}; };
    }
    std::string text = code == "RAL" || code == "FAL" ? "AADC" : "Basic";
    level.levelText = [text](const DistributionKinds&) { return text; };
    return level;
}

} // namespace

void BuildADCLevel(AppContext& ctx) {
    const std::string& code = ctx.MailClassCode;
    startProgress(ctx);
    LevelProgress progress(ctx, unplacedAtStart(ctx));
    DistributionLevel level = adcLevel(ctx);
    ChartIndex chart(*level.chart);
    bool apart = isCoSacked(code);
    ZipKeyFunction adcKey = [&](int32_t zipKey, int32_t& key) {
        int32_t adc = chart.value(zipPrefix(zipKey));
        key = apart && zipKey < 0 ? -adc : adc;
        return adc > 0;
    };
    collectLevelKeys(ctx, adcKey, &progress);
    addDistributionGroups(ctx, ctx.lists.AdcLabels, "AD ", level.groupMinimum);
    assignLevelOwners(ctx, adcKey, 0);
    makeDistributionContainers(ctx, level);
    progress.finish();
}

void BuildAADCLevel(AppContext& ctx) {
    startProgress(ctx);
    LevelProgress progress(ctx, unplacedAtStart(ctx));
    ctx.tables.clearLevelKeys();
    makeDistributionContainers(ctx, aadcLevel(ctx));
    progress.finish();
}

void BuildAADCGroups(AppContext& ctx) {
    ChartIndex chart(aadcChart(ctx));
    ZipKeyFunction aadcKey = [&](int32_t zipKey, int32_t& key) {
        key = chart.value(zipPrefix(zipKey));
        return key > 0;
    };
    collectLevelKeys(ctx, aadcKey, nullptr);
    addDistributionGroups(ctx, ctx.lists.AadcLabels, "AA ", 1);
    assignLevelOwners(ctx, aadcKey, 0);
}

} // namespace quillan
