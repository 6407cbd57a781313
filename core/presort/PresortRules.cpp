#include "core/presort/PresortRules.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <cstdlib>

namespace quillan {

int32_t oneFootTray(int32_t twoFootPieces) {
    return static_cast<int32_t>(twoFootPieces * 10.25L / 21.0L);
}

int32_t standardFlatSackMinimum(const MailTypeSettings& mailType) {
    if (!mailType.hasExactWeight())
        return 125;
    double weight = mailType.pieceWeight();
    if (weight < 1.92)
        return 125;
    return static_cast<int32_t>(240.0 / weight + 0.9999);
}

int32_t flatSackMinimum(const PresortContext& ctx) {
    return ctx.mailClass().isPeriodicals() ? ctx.settings.periodical.containerMinimum()
                                           : standardFlatSackMinimum(ctx.settings.mailType);
}

int32_t unplacedPieces(const PresortContext& ctx) {
    return ctx.mailing.validPieces() - ctx.counters.placedPieces;
}

bool piecesRemain(const PresortContext& ctx) {
    return unplacedPieces(ctx) > 0;
}

bool inOriginScf(const PresortContext& ctx, int prefix) {
    const SettingsList& scf = ctx.lists.scfChart;
    return std::abs(chartValue(scf, prefix)) ==
           std::abs(chartValue(scf, ctx.settings.mailer.zipPrefix()));
}

} // namespace quillan
