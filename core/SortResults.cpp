#include "core/SortResults.h"

#include "core/Convert.h"
#include "core/SettingsList.h"
#include "core/StagedSortResult.h"
#include "platform/fs/AtomicFile.h"

#include <array>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace quillan {

const char* const NoSortResultsMessage =
    "You must sort a file before you print sack labels or reprint a report.";

namespace {

constexpr int64_t kMaxCount = std::numeric_limits<int32_t>::max();

// The file holds one value per line, and the kinds and keys of trays, sacks and groups only
// as the labels that print them: loading reads them back from those texts. Trays, sacks and
// groups are numbered from 1 (index + 1, which also turns "none" into 0 and a ZIP group left
// below a minimum into -1). A label or city with a line break in it would shift every value
// after it, so breaks become blanks.
void putText(std::string& out, std::string_view text) {
    for (char c : text)
        out += c == '\r' || c == '\n' ? ' ' : c;
    out += "\r\n";
}

void putNumber(std::string& out, int64_t value) {
    putText(out, intToStr(value));
}

// The number a record is known by in the file, from its index or link.
int64_t numberOf(size_t index) {
    return static_cast<int64_t>(index) + 1;
}
int64_t numberOf(int32_t link) {
    return int64_t(link) + 1;
}

// A rejected record's ZIP is stored as code * 100000 - ZIP: code 2 for a text that is no ZIP
// code, 6 for a prefix no post office serves, 7 for a missing ZIP+4.
struct RejectionCode {
    ZipRejection rejection;
    int32_t code;
};

constexpr std::array<RejectionCode, 3> rejectionCodes{
    {{ZipRejection::Form, 2}, {ZipRejection::NotServed, 6}, {ZipRejection::Zip4Missing, 7}}};

int64_t storedZipOf(const Piece& piece) {
    for (const RejectionCode& r : rejectionCodes)
        if (r.rejection == piece.rejection)
            return -int64_t(r.code) * 100000 - piece.zip;
    return piece.zip;
}

std::optional<Piece> rejectedPieceOf(int32_t storedZip) {
    for (const RejectionCode& r : rejectionCodes)
        if (storedZip <= -100000 && -(storedZip / 100000) == r.code)
            return Piece{.zip = -(storedZip % 100000), .rejection = r.rejection};
    return std::nullopt;
}

} // namespace

std::string SortResultBytes(const SortedMailing& mailing) {
    std::string out;
    putNumber(out, mailing.recordCount());
    putNumber(out, mailing.rejectedCount());
    putText(out, mailing.mailClass().code());
    putNumber(out, static_cast<int64_t>(mailing.zipGroups().size()));
    putNumber(out, numberOf(mailing.sortGroups().size()));
    putNumber(out, numberOf(mailing.containers().size()));
    for (const Container& container : mailing.containers()) {
        putText(out, container.label());
        putNumber(out, container.pieces);
        putText(out, entryText(container.entry));
        putText(out, levelText(container.level));
    }
    bool coSacked = mailing.mailClass().isCoSacked();
    for (const SortGroup& group : mailing.sortGroups()) {
        putText(out, group.label());
        putNumber(out, group.pieces);
        putNumber(out, numberOf(group.container));
        putNumber(out, coSacked && group.nonbarcoded ? 1 : 0);
    }
    for (const ZipGroup& zip : mailing.zipGroups()) {
        putNumber(out, zip.zip);
        putNumber(out, zip.pieces);
        putNumber(out, zip.inCounty);
        putNumber(out, numberOf(zip.owner));
    }
    std::string rejected;
    int64_t count = 0;
    for (size_t r = 0; r < mailing.pieces().size(); ++r) {
        const Piece& piece = mailing.pieces()[r];
        if (!piece.rejected())
            continue;
        ++count;
        putNumber(rejected, numberOf(r));
        putNumber(rejected, storedZipOf(piece));
        putText(rejected, mailing.cities().text(piece.city));
    }
    putNumber(out, count);
    return out + rejected;
}

namespace {

// Why a sort-result file cannot be used; the text completes the user's message.
class DamagedFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Hands out the file's lines in order. Every count it returns has been checked against its
// range, and the blocks it drives consume a line per value, so a count larger than the file
// runs into the file's end instead of into a huge allocation.
class LineReader {
public:
    explicit LineReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    const std::string& text() {
        if (lines_.empty())
            throw DamagedFile("it is empty");
        if (next_ >= lines_.size())
            throw DamagedFile("it ends after line " + std::to_string(lines_.size()) +
                              ", before the results are complete");
        return lines_[next_++];
    }

    int32_t number(int64_t low, int64_t high) {
        const std::string& line = text();
        int32_t value = 0;
        if (!tryStrToInt(line, value) || value < low || value > high)
            throw invalidValue();
        return value;
    }

    // A line that holds one of the texts `decode` knows.
    template <typename Decode>
    auto known(Decode decode) {
        auto value = decode(text());
        if (!value)
            throw invalidValue();
        return *value;
    }

    // The value of the line just read does not belong where it stands.
    DamagedFile invalidValue() const {
        return DamagedFile("line " + std::to_string(next_) + " holds '" +
                           lines_[next_ - 1].substr(0, 24) + "', which is not a valid value there");
    }

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

struct StagedResult {
    int32_t recordCount = 0;
    int32_t rejectedCount = 0;
    MailClass mailClass;
    int32_t zipGroupCount = 0;
    int32_t sortGroupCount = 0;
    int32_t containerCount = 0;
    WorkTables tables;
};

void readHeader(LineReader& in, StagedResult& r) {
    r.recordCount = in.number(0, MaxMailingRecords);
    r.rejectedCount = in.number(0, r.recordCount);
    std::optional<MailClass> mailClass = MailClass::fromCode(in.text());
    if (!mailClass)
        throw in.invalidValue();
    r.mailClass = *mailClass;
    r.zipGroupCount = in.number(0, kMaxCount);
    r.sortGroupCount = in.number(1, kMaxCount);
    r.containerCount = in.number(1, kMaxCount);
}

// The index a record's number in the file stands for; its link's mark for 0 and -1.
int32_t indexOf(int32_t number) {
    return number - 1;
}

void readContainers(LineReader& in, StagedResult& r) {
    for (int32_t k = 1; k < r.containerCount; ++k) {
        const std::string& label = in.text();
        Container container;
        container.kind = containerKindOfStoredLabel(label);
        container.destination = containerDestination(container.kind, label);
        container.pieces = in.number(0, kMaxCount);
        container.entry = in.known(entryOfText);
        container.level = in.known(levelOfText);
        r.tables.containers.push_back(std::move(container));
    }
}

void readSortGroups(LineReader& in, StagedResult& r, bool keep) {
    for (int32_t g = 1; g < r.sortGroupCount; ++g) {
        StoredGroup stored = in.known(groupOfStoredLabel);
        SortGroup group{.kind = stored.kind, .key = stored.key};
        group.pieces = in.number(0, kMaxCount);
        group.container = indexOf(in.number(0, r.containerCount - 1));
        group.nonbarcoded = in.number(0, 1) == 1;
        if (keep)
            r.tables.sortGroups.push_back(group);
    }
}

// Returns the pieces of all ZIP groups: every record that was not rejected is in one.
int64_t readZipGroups(LineReader& in, StagedResult& r, bool keep) {
    int64_t pieces = 0;
    for (int32_t z = 1; z <= r.zipGroupCount; ++z) {
        ZipGroup zip;
        zip.zip = in.number(-99999, 99999);
        zip.pieces = in.number(0, kMaxCount);
        zip.inCounty = in.number(0, zip.pieces);
        zip.owner = indexOf(in.number(-1, r.sortGroupCount - 1));
        pieces += zip.pieces;
        if (keep)
            r.tables.zipGroups.push_back(zip);
    }
    return pieces;
}

void readRejectedRecords(LineReader& in, StagedResult& r, bool keep) {
    int32_t count = in.number(0, r.recordCount);
    int32_t previous = 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t record = in.number(int64_t(previous) + 1, r.recordCount);
        std::optional<Piece> piece =
            rejectedPieceOf(in.number(std::numeric_limits<int32_t>::min(), kMaxCount));
        if (!piece)
            throw in.invalidValue();
        std::string city = in.text();
        previous = record;
        if (!keep)
            continue;
        piece->city = r.tables.cities.add(city);
        r.tables.pieces[static_cast<size_t>(indexOf(record))] = *piece;
    }
}

StagedResult readSortResults(const std::string& path, bool complete) {
    std::optional<std::string> bytes = platform::readFileBytes(path);
    if (!bytes)
        throw DamagedFile("it cannot be read");
    LineReader in(SettingsList::splitLines(*bytes));
    StagedResult r;
    readHeader(in, r);
    readContainers(in, r);
    readSortGroups(in, r, complete);
    int64_t grouped = readZipGroups(in, r, complete);
    if (grouped != int64_t(r.recordCount) - r.rejectedCount)
        throw DamagedFile("its ZIP groups hold " + std::to_string(grouped) +
                          " pieces, but it counts " + std::to_string(r.recordCount) +
                          " records of which " + std::to_string(r.rejectedCount) +
                          " were rejected");
    // The record count is now vouched for by the groups; the records may be made. Only the
    // rejected ones are stored: the others keep no ZIP of their own.
    r.tables.pieces.resize(static_cast<size_t>(r.recordCount));
    readRejectedRecords(in, r, complete);
    return r;
}

Mailing mailingOf(StagedResult&& r) {
    Mailing mailing{std::move(r.tables), {}};
    mailing.counters.rejectedCount = r.rejectedCount;
    return mailing;
}

} // namespace

void SaveSortResults(const SortedMailing& mailing, const std::string& path) {
    StagedSortResult(mailing, path).putInPlace();
}

SortedMailing LoadSortResults(const std::string& path, SortResultPart part,
                              const SettingsLists& lists) {
    if (!platform::fileExists(path))
        throw SortResultError(NoSortResultsMessage);
    try {
        StagedResult r = readSortResults(path, part == SortResultPart::Complete);
        MailClass mailClass = r.mailClass;
        return SortedMailing(mailingOf(std::move(r)), mailClass, lists);
    } catch (const std::exception& e) {
        throw SortResultError("The sort-result file \"" + path + "\" cannot be used: " + e.what() +
                              ". Sort the file again before you print sack labels or reprint a "
                              "report.");
    }
}

} // namespace quillan
