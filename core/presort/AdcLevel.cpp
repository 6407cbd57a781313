#include "core/presort/AdcLevel.h"

#include "core/PostalCharts.h"
#include "core/presort/DistributionLevel.h"
#include "core/presort/LevelProgress.h"
#include "core/presort/PresortRules.h"

namespace quillan {

namespace {

const SettingsList& adcChart(const PresortContext& ctx) {
    return ctx.mailClass().isPeriodicals() ? ctx.lists.adcPeriodicalChart
                                           : ctx.lists.adcStandardChart;
}

const SettingsList& aadcChart(const PresortContext& ctx) {
    return ctx.mailClass() == MailClass::FAL ? ctx.lists.aadcFirstClassChart
                                             : ctx.lists.aadcStandardChart;
}

void startProgress(PresortContext& ctx) {
    ctx.progress.clearPicture();
    ctx.progress.showStage(ProgressSink::Stage::Adc);
}

// Letter trays: one-foot trays with mm trays, two-foot ones once a center's pieces reach
// the tray minimum of mailtype.dat line 6.
ContainerLimits letterTrayLimits(const PresortContext& ctx, int64_t total, int32_t minimum) {
    int32_t twoFootMinimum = ctx.settings.mailType.packageFigure();
    int32_t full = ctx.settings.mailType.fullTray();
    if (total >= twoFootMinimum)
        return {twoFootMinimum, full};
    return {minimum, ctx.settings.mailType.mmTrays() ? oneFootTray(full) : full};
}

// The fewest pieces a letter tray of a center below the tray minimum may hold: a one-foot
// tray's share of the minimum with mm trays, the minimum itself otherwise.
int32_t letterTrayMinimum(const PresortContext& ctx) {
    int32_t twoFootMinimum = ctx.settings.mailType.packageFigure();
    return ctx.settings.mailType.mmTrays() ? oneFootTray(twoFootMinimum) : twoFootMinimum;
}

int32_t adcGroupMinimum(MailClass code) {
    return code.isPeriodicals() ? 6 : 10;
}

ContainerLevel adcContainerLevel(MailClass code, const DistributionKinds& kinds) {
    using L = ContainerLevel;
    bool digit = kinds.threeDigit || kinds.fiveDigit;
    if (code.isStandard() && code.isBarcodedFlats()) {
        if (kinds.distribution)
            return digit ? L::Mixed : L::Basic;
        return L::ThreeFiveDigit;
    }
    if (code.isPeriodicals() && code.isBarcodedFlats()) {
        if (kinds.distribution)
            return digit ? L::Mixed : L::Basic;
        if (kinds.threeDigit && kinds.fiveDigit)
            return L::Mixed;
        return kinds.fiveDigit ? L::FiveDigit : L::ThreeDigit;
    }
    return L::Basic;
}

DistributionLevel adcLevel(const PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    DistributionLevel level;
    level.chart = &adcChart(ctx);
    level.labels = &ctx.lists.adcLabels;
    level.groups = GroupKind::Adc;
    level.groupMinimum = adcGroupMinimum(code);
    if (code.isFlats()) {
        int32_t minimum = flatSackMinimum(ctx);
        level.limits = [minimum](int64_t) { return ContainerLimits{minimum}; };
    } else {
        int32_t minimum = code == MailClass::PNAL ? ctx.settings.periodical.containerMinimum()
                                                  : letterTrayMinimum(ctx);
        level.limits = [&ctx, minimum](int64_t total) {
            return letterTrayLimits(ctx, total, minimum);
        };
    }
    level.level = [code](const DistributionKinds& kinds) { return adcContainerLevel(code, kinds); };
    return level;
}

DistributionLevel aadcLevel(const PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    DistributionLevel level;
    level.chart = &aadcChart(ctx);
    level.labels = &ctx.lists.aadcLabels;
    level.groups = GroupKind::Aadc;
    level.groupMinimum = 10;
    if (code == MailClass::RML) {
        int32_t minimum = letterTrayMinimum(ctx);
        level.limits = [&ctx, minimum](int64_t total) {
            return letterTrayLimits(ctx, total, minimum);
        };
    } else {
        level.limits = [](int64_t) { return ContainerLimits{150}; };
    }
    ContainerLevel trays =
        code.isAadcAutomationLetters() ? ContainerLevel::Aadc : ContainerLevel::Basic;
    level.level = [trays](const DistributionKinds&) { return trays; };
    return level;
}

} // namespace

void BuildADCLevel(PresortContext& ctx) {
    const MailClass code = ctx.mailClass();
    startProgress(ctx);
    LevelProgress progress(ctx, unplacedPieces(ctx));
    DistributionLevel level = adcLevel(ctx);
    ChartIndex chart(*level.chart);
    bool apart = code.isCoSacked();
    ZipKeyFunction adcKey = [&](int32_t zipKey, int32_t& key) {
        int32_t adc = chart.value(zipPrefix(zipKey));
        key = apart && zipKey < 0 ? -adc : adc;
        return adc > 0;
    };
    std::vector<LevelKey> keys = collectLevelKeys(ctx, adcKey, &progress);
    addDistributionGroups(ctx, keys, ctx.lists.adcLabels, GroupKind::Adc, level.groupMinimum);
    assignLevelOwners(ctx, keys, adcKey, ZipGroup::Unplaced);
    makeDistributionContainers(ctx, level);
    progress.finish();
}

void BuildAADCLevel(PresortContext& ctx) {
    startProgress(ctx);
    LevelProgress progress(ctx, unplacedPieces(ctx));
    makeDistributionContainers(ctx, aadcLevel(ctx));
    progress.finish();
}

void BuildAADCGroups(PresortContext& ctx) {
    ChartIndex chart(aadcChart(ctx));
    ZipKeyFunction aadcKey = [&](int32_t zipKey, int32_t& key) {
        key = chart.value(zipPrefix(zipKey));
        return key > 0;
    };
    std::vector<LevelKey> keys = collectLevelKeys(ctx, aadcKey, nullptr);
    addDistributionGroups(ctx, keys, ctx.lists.aadcLabels, GroupKind::Aadc, 1);
    assignLevelOwners(ctx, keys, aadcKey, ZipGroup::Unplaced);
}

} // namespace quillan
