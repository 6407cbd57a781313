#include "core/presort/PresortRules.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/presort/MailClass.h"

#include <cctype>
#include <cstdlib>

namespace quillan {

int32_t mailTypeNumber(const AppContext& ctx, long line) {
    return strToInt(ctx.lists.MailTypeList[line]);
}

bool exactPieceWeight(const AppContext& ctx) {
    return ctx.lists.MailTypeList[4] == "1";
}

double pieceWeight(const AppContext& ctx) {
    return strToFloat(ctx.lists.MailTypeList[5]);
}

bool mmTrays(const AppContext& ctx) {
    return ctx.lists.MailTypeList[8] == "0";
}

int32_t fullTray(const AppContext& ctx) {
    return mailTypeNumber(ctx, 7);
}

int32_t periodicalsMinimum(const AppContext& ctx) {
    return strToInt(ctx.lists.PeriodicalList[6]);
}

int32_t oneFootTray(int32_t twoFootPieces) {
    return static_cast<int32_t>(twoFootPieces * 10.25L / 21.0L);
}

int32_t standardFlatSackMinimum(const AppContext& ctx) {
    if (!exactPieceWeight(ctx))
        return 125;
    double weight = pieceWeight(ctx);
    if (weight < 1.92)
        return 125;
    return static_cast<int32_t>(240.0 / weight + 0.9999);
}

int32_t flatSackMinimum(const AppContext& ctx) {
    return isPeriodicals(ctx.MailClassCode) ? periodicalsMinimum(ctx)
                                            : standardFlatSackMinimum(ctx);
}

bool piecesRemain(const AppContext& ctx) {
    const MailingCounters& c = ctx.counters;
    return c.RecordCount > c.PlacedPieces + c.RejectedCount;
}

int mailerPrefix(const AppContext& ctx) {
    return strToInt(ctx.lists.MailerList[3].substr(0, 3));
}

bool inOriginScf(const AppContext& ctx, int prefix) {
    const SettingsList& scf = ctx.lists.ScfChart;
    return std::abs(chartValue(scf, prefix)) == std::abs(chartValue(scf, mailerPrefix(ctx)));
}

int groupPrefix(const std::string& label) {
    if (label.size() < 6)
        return 0;
    int value = 0;
    for (size_t i = 3; i < 6; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(label[i])))
            return 0;
        value = value * 10 + (label[i] - '0');
    }
    return value;
}

int32_t insertContainerInOrder(AppContext& ctx, int32_t levelStart, int64_t key,
                               const std::function<int64_t(const std::string&)>& keyOfLabel,
                               int32_t pieces, std::string label, std::string entry,
                               std::string level) {
    WorkTables& t = ctx.tables;
    int32_t row = ctx.counters.ContainerCount;
    for (int32_t k = levelStart + 1; k < ctx.counters.ContainerCount; ++k) {
        if (keyOfLabel(t.ContainerLabels[static_cast<size_t>(k)]) > key) {
            row = k;
            break;
        }
    }
    for (size_t g = 1; g < static_cast<size_t>(ctx.counters.SortGroupCount); ++g)
        if (t.SortGroupContainer[g] >= row)
            ++t.SortGroupContainer[g];
    t.insertContainer(static_cast<size_t>(row), pieces, std::move(label), std::move(entry),
                      std::move(level));
    ++ctx.counters.ContainerCount;
    return row;
}

} // namespace quillan
