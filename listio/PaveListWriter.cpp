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

std::optional<ClosingMessage> WritePaveList(const SortInformationJob& job, Notices& notices,
                                            WriterProgress& progress) {
    progress.begin("Sorted File");
    const std::string path = paveTestFilePath(job.list.path);
    const std::vector<Piece>& pieces = job.mailing.pieces();
    std::vector<PlacedPiece> order;
    const int32_t containers = static_cast<int32_t>(job.mailing.containers().size());
    WalkPresortOrder(
        job.mailing, [&](int32_t c) { progress.before(c + 1, containers); },
        [&](const PlacedPiece& p) { order.push_back(p); });
    const std::vector<std::string>& parts = job.presortRecords;
    if (parts.size() != order.size()) {
        reportNotSaved(notices, path,
                       "The sort made " + intToStr(static_cast<int64_t>(parts.size())) +
                           " PAVE records, but " + intToStr(static_cast<int64_t>(order.size())) +
                           " pieces were found in the list for it. Nothing was written. Sort "
                           "the list again.");
        return std::nullopt;
    }
    LineOutput out(path);
    if (!out.ok()) {
        reportNotSaved(notices, path, "Nothing was written. (" + out.error() + ")");
        return std::nullopt;
    }
    const std::string lead = job.settings.mailerList.zip() + std::string(58, ' ');
    out.line(job.list.state.listHeaderLine + kTemplate + std::string(224, ' ') + "0000001");
    std::vector<bool> written(pieces.size());
    size_t k = 1;
    for (const PlacedPiece& p : order) {
        out.line(job.list.lineOf(static_cast<size_t>(p.record)) + lead + parts[k - 1]);
        ++k;
        written[static_cast<size_t>(p.record)] = true;
    }
    for (size_t r = 0; r < pieces.size(); ++r) {
        if (written[r])
            continue;
        out.line(job.list.lineOf(r) + lead + rejectedPart(static_cast<int64_t>(k) + 1));
        ++k;
    }
    if (progress.stopBeforeWriting())
        return std::nullopt;
    platform::WriteResult result = out.commit();
    if (!result.ok) {
        reportNotSaved(notices, path, "(" + result.error + ")");
        return std::nullopt;
    }
    // The barcoding program is offered the test file, which holds the sorted records.
    return sortedFileMessage(path);
}

} // namespace quillan
