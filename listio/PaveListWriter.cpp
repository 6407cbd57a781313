#include "listio/PaveListWriter.h"

#include "core/Convert.h"
#include "listio/PresortOrder.h"

#include <vector>

namespace quillan {

namespace {

const char* const kTemplate = "WWWWWW LLLLLLL HHHHHH TTTTTT ZZZZZ 20020501      1000 N 0203";

std::string rejectedPart(int64_t lineNumber) {
    return std::string(126, ' ') + "XX" + std::string(32, ' ') + zeroPad(lineNumber, 7);
}

} // namespace

std::string paveTestFilePath(const std::string& listPath) {
    return listPath.substr(0, listPath.size() >= 3 ? listPath.size() - 3 : 0) + "tst";
}

std::optional<ClosingMessage> WritePaveList(AppContext& ctx, WriterProgress& progress) {
    progress.begin("Sorted File");
    const std::string path = paveTestFilePath(ctx.listFileName);
    const WorkTables& t = ctx.tables;
    std::vector<PlacedPiece> order;
    const int32_t containers = ctx.counters.containerCount - 1;
    WalkPresortOrder(
        ctx, [&](int32_t c) { progress.before(c, containers); },
        [&](const PlacedPiece& p) { order.push_back(p); });
    // Row 0 is the seed row; then one record per piece, in this walk's order.
    const size_t records = t.paveRecords.empty() ? 0 : t.paveRecords.size() - 1;
    if (records != order.size()) {
        reportNotSaved(ctx, path,
                       "The sort made " + intToStr(static_cast<int64_t>(records)) +
                           " PAVE records, but " + intToStr(static_cast<int64_t>(order.size())) +
                           " pieces were found in the list for it. Nothing was written. Sort "
                           "the list again.");
        return std::nullopt;
    }
    LineOutput out(path);
    if (!out.ok()) {
        reportNotSaved(ctx, path, "Nothing was written. (" + out.error() + ")");
        return std::nullopt;
    }
    const std::string lead = ctx.lists.mailerList.zip() + std::string(58, ' ');
    out.line(t.pieceRecords[0] + kTemplate + std::string(224, ' ') + "0000001");
    const int32_t count = ctx.counters.recordCount;
    std::vector<bool> written(static_cast<size_t>(count) + 1);
    size_t k = 1;
    for (const PlacedPiece& p : order) {
        out.line(t.pieceRecords[static_cast<size_t>(p.record)] + lead + t.paveRecords[k++]);
        written[static_cast<size_t>(p.record)] = true;
    }
    for (int32_t r = 1; r <= count; ++r) {
        if (written[static_cast<size_t>(r)])
            continue;
        out.line(t.pieceRecords[static_cast<size_t>(r)] + lead +
                 rejectedPart(static_cast<int64_t>(k) + 1));
        ++k;
    }
    if (progress.stopBeforeWriting())
        return std::nullopt;
    platform::WriteResult result = out.commit();
    if (!result.ok) {
        reportNotSaved(ctx, path, "(" + result.error + ")");
        return std::nullopt;
    }
    ctx.listFileName = path;
    return sortedFileMessage(path);
}

} // namespace quillan
