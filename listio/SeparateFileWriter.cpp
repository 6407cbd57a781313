#include "listio/SeparateFileWriter.h"

#include <unordered_map>
#include <vector>

namespace quillan {

using namespace platform;

namespace {

// The ZIP groups a record may draw from, by their signed key, each with the pieces and
// in-county pieces it has left. A group is used up when its last piece is given out.
class GroupPool {
public:
    explicit GroupPool(const SortedMailing& mailing) {
        const std::vector<ZipGroup>& zips = mailing.zipGroups();
        const size_t sortGroups = mailing.sortGroups().size();
        left_.resize(zips.size());
        for (size_t z = 0; z < zips.size(); ++z) {
            if (!zips[z].placed() || static_cast<size_t>(zips[z].owner) >= sortGroups)
                continue; // never placed in a tray or sack: nothing to write for it
            left_[z] = {zips[z].pieces, zips[z].inCounty, false};
            byKey_[zips[z].zip].push_back(static_cast<int32_t>(z));
        }
    }

    // The first group of the piece's key that can take it, consumed by one piece; none
    // when none can.
    std::optional<int32_t> take(const Piece& piece) {
        const bool inCounty = piece.inCounty;
        auto it = byKey_.find(piece.zipKey());
        if (it == byKey_.end())
            return std::nullopt;
        for (int32_t z : it->second) {
            Left& g = left_[static_cast<size_t>(z)];
            if (g.usedUp)
                continue;
            bool fits = inCounty ? g.inCounty > 0 : g.inCounty < g.pieces;
            if (!fits)
                continue;
            if (--g.pieces == 0)
                g.usedUp = true;
            if (inCounty)
                --g.inCounty;
            return z;
        }
        return std::nullopt;
    }

private:
    struct Left {
        int32_t pieces = 0;
        int32_t inCounty = 0;
        bool usedUp = false;
    };

    std::vector<Left> left_;
    std::unordered_map<int32_t, std::vector<int32_t>> byKey_;
};

std::string joinValues(bool comma, const std::string& tray, const std::string& package,
                       const std::string& zipGroup, const std::string& endorsement) {
    if (comma)
        return "\"" + tray + "\",\"" + package + "\",\"" + zipGroup + "\",\"" + endorsement + "\"";
    return tray + "\t" + package + "\t" + zipGroup + "\t" + endorsement;
}

} // namespace

std::string ChooseSortOutputFile(const SortInformationJob& job, Notices& notices) {
    const std::string& path = job.separateFilePath;
    if (!job.settings.prefsList.asksSeparateFileName())
        return path;
    // Cancelling keeps the proposed name: the file is written all the same.
    std::string chosen =
        notices
            .askForFile({.title = "Choose or name a file for the sorting information",
                         .fileName = path,
                         .filters = {{"text files", {"*.txt"}}}})
            .value_or(path);
    return chosen.empty() ? path : chosen;
}

std::optional<ClosingMessage> WriteSeparateFile(const SortInformationJob& job, Notices& notices,
                                                WriterProgress& progress) {
    progress.begin("Sort Order and Endorsements");
    const std::string path = ChooseSortOutputFile(job, notices);
    // The program folder's own file is never written through a link; a file the user names
    // may be one.
    LineOutput out(path, "\r\n",
                   path == job.separateFilePath ? AtomicFileWriter::Links::Refuse
                                                : AtomicFileWriter::Links::Follow);
    if (!out.ok()) {
        notices.tell({BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
                      "Quillan could not create this output file. (" + out.error() + ")"});
        return std::nullopt;
    }
    const bool comma = job.settings.prefsList.commaSeparateFile();
    const int32_t count = job.mailing.recordCount();
    GroupPool pool(job.mailing);
    PieceValues values(job.mailing);
    const std::string& zeros = PieceValues::notPlaced();
    for (int32_t r = 1; r <= count; ++r) {
        progress.before(r, count);
        const Piece& piece = job.mailing.pieces()[static_cast<size_t>(r - 1)];
        std::optional<int32_t> z;
        if (!piece.rejected())
            z = pool.take(piece);
        if (!z) {
            out.line(joinValues(comma, zeros, zeros, zeros, ""));
            continue;
        }
        int32_t owner = job.mailing.zipGroups()[static_cast<size_t>(*z)].owner;
        int32_t tray = job.mailing.sortGroups()[static_cast<size_t>(owner)].container;
        out.line(joinValues(comma, PieceValues::numbered(tray), PieceValues::numbered(owner),
                            PieceValues::numbered(*z), values.endorsement(*z)));
    }
    if (progress.stopBeforeWriting())
        return std::nullopt;
    WriteResult result = out.commit();
    if (!result.ok) {
        notices.tell(
            {BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
             "Quillan could not write the output file \"" + path + "\". (" + result.error + ")"});
        return std::nullopt;
    }
    return ClosingMessage{
        "Quillan has saved sorting information in the file \"" + path + "\".", {}, path};
}

} // namespace quillan
