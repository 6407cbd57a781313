#include "listio/TextListWriter.h"

#include "listio/AsciiFields.h"
#include "listio/ListFileError.h"
#include "listio/ListFormat.h"
#include "listio/PresortOrder.h"
#include "listio/TextRecordReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quillan {

namespace {

const char* const kGainedNames[3] = {"tray", "package", "endorsement"};

bool startsWithByteOrderMark(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char head[3] = {};
    bool bom = std::fread(head, 1, 3, f) == 3 && std::memcmp(head, "\xEF\xBB\xBF", 3) == 0;
    std::fclose(f);
    return bom;
}

// True while the file holds exactly the header and the records that were read: the list is
// rewritten from those, so a list edited since must not be overwritten with them.
bool unchangedSinceRead(const SortInformationJob& job) {
    const ListState& state = job.list.state;
    if (state.fieldCount <= 0)
        return false;
    try {
        TextRecordReader reader(job.list.path, *job.list.format, state.fieldCount);
        std::string line;
        auto nextIs = [&](const std::string& expected) {
            return reader.next(line) == TextRecordReader::Status::Record && line == expected;
        };
        if (state.headingLine && !nextIs(state.listHeaderLine))
            return false;
        for (size_t r = 0; r < job.mailing.pieces().size(); ++r)
            if (!nextIs(job.list.lineOf(r)))
                return false;
        for (const std::string& blank : state.trailingBlankLines)
            if (!nextIs(blank))
                return false;
        return reader.next(line) == TextRecordReader::Status::End;
    } catch (const ListFileError&) {
        return false;
    }
}

} // namespace

TextRecordJoiner::TextRecordJoiner(const ListFormat& format, int fieldCount, const ListState& roles)
    : format_(format), fieldCount_(fieldCount), columns_{roles.trayColumn, roles.packageColumn,
                                                         roles.endorsementColumn} {}

bool TextRecordJoiner::commaFields() const {
    return format_.fieldSplit == ListFormat::FieldSplit::Comma;
}

bool TextRecordJoiner::anyColumn() const {
    return std::any_of(std::begin(columns_), std::end(columns_), [](int c) { return c >= 0; });
}

bool TextRecordJoiner::anyNameGained() const {
    return std::any_of(std::begin(columns_), std::end(columns_), [](int c) { return c < 0; });
}

std::string TextRecordJoiner::join(const std::string& line, const std::string& tray,
                                   const std::string& package, const std::string& endorsement) {
    const std::string* values[3] = {&tray, &package, &endorsement};
    const bool comma = commaFields();
    if (!anyColumn() && allFieldsStandAlone(format_, line)) {
        const int own = ownFieldCount(line);
        notePlaces({own + 1, own + 2, own + 3});
        const char d = format_.delimiter;
        // A bar record missing its last bar gets it, so that its last field stays apart.
        if (format_.closingDelimiter)
            return line + (line.empty() || line.back() == d ? "" : std::string(1, d)) + tray + d +
                   package + d + endorsement + d;
        if (!comma)
            return line + d + tray + d + package + d + endorsement;
        return line + "," + quotedCommaField(tray) + "," + quotedCommaField(package) + "," +
               quotedCommaField(endorsement);
    }
    keepFieldsOf(line);
    std::array<int, 3> places{};
    for (int i = 0; i < 3; ++i) {
        std::string value = comma ? quotedCommaField(*values[i]) : *values[i];
        if (columns_[i] < 0) {
            fields_.push_back(std::move(value));
            places[i] = static_cast<int>(fields_.size());
            continue;
        }
        size_t column = static_cast<size_t>(columns_[i]);
        if (column >= fields_.size())
            fields_.resize(column + 1, emptyField());
        fields_[column] = std::move(value);
        places[i] = columns_[i] + 1;
    }
    notePlaces(places);
    return joinFields();
}

// The fields of a record as written before the values join them; a bar record's closing bar
// ends its last field and opens none.
int TextRecordJoiner::ownFieldCount(const std::string& line) const {
    const int count = static_cast<int>(rawFields(format_, line).size());
    return format_.closingDelimiter && !line.empty() && line.back() == format_.delimiter ? count - 1
                                                                                         : count;
}

void TextRecordJoiner::notePlaces(const std::array<int, 3>& places) {
    if (!places_)
        places_ = places;
    else if (*places_ != places)
        placesDiffer_ = true;
}

std::string TextRecordJoiner::placesWritten() const {
    if (!places_)
        return "";
    if (placesDiffer_)
        return anyColumn() ? "" : "the last three fields of each record";
    const auto& [tray, package, endorsement] = *places_;
    if (package == tray + 1 && endorsement == package + 1)
        return "fields " + std::to_string(tray) + " to " + std::to_string(endorsement);
    return "fields " + std::to_string(tray) + ", " + std::to_string(package) + " and " +
           std::to_string(endorsement);
}

std::string TextRecordJoiner::emptyField() const {
    return commaFields() ? "\"\"" : "";
}

// Each field goes back as the line holds it, so that sorting a list again gives the same
// bytes; only a comma field whose quote never closes is written afresh, quoted.
void TextRecordJoiner::keepFieldsOf(const std::string& line) {
    std::vector<RawField> raw = rawFields(format_, line);
    fields_.clear();
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].standsAlone) {
            fields_.emplace_back(raw[i].bytes);
            continue;
        }
        SplitAsciiRecord(format_, static_cast<int>(raw.size()), line, texts_);
        fields_.push_back(quotedCommaField(texts_[i]));
    }
    if (fields_.size() < static_cast<size_t>(std::max(fieldCount_, 0)))
        fields_.resize(static_cast<size_t>(fieldCount_), emptyField());
}

std::string TextRecordJoiner::joinFields() const {
    std::string out;
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0)
            out += format_.delimiter;
        out += fields_[i];
    }
    if (format_.closingDelimiter)
        out += format_.delimiter;
    return out;
}

// The names join the header as the values join its records: a bar header missing its last
// bar gets it first, so that its last name stays apart and every name after it has its bar.
std::string TextRecordJoiner::header(const std::string& headerLine) const {
    std::string out = headerLine;
    const char d = format_.delimiter;
    if (format_.closingDelimiter && anyNameGained() && !out.empty() && out.back() != d)
        out += d;
    for (int i = 0; i < 3; ++i) {
        if (columns_[i] >= 0)
            continue;
        if (format_.closingDelimiter)
            out += kGainedNames[i] + std::string(1, d);
        else
            out += d + std::string(kGainedNames[i]);
    }
    return out;
}

std::optional<ClosingMessage> WriteTextList(const SortInformationJob& job, Notices& notices,
                                            WriterProgress& progress) {
    progress.begin("Sorted File");
    const std::string& path = job.list.path;
    const ListState& state = job.list.state;
    // Taken before the file is compared with what was read: it must stay so until replaced.
    const FileStamp checked = listStampOf(path);
    if (!unchangedSinceRead(job)) {
        reportNotSaved(notices, path,
                       "The file is no longer the one Quillan read (it was changed, moved or "
                       "removed since). It has been left as it is; please sort it again.");
        return std::nullopt;
    }
    const bool bom = startsWithByteOrderMark(path);
    LineOutput out(path, state.lineEnd, platform::AtomicFileWriter::Links::Follow, checked);
    if (!out.ok()) {
        reportListNotWritten(notices, path, out);
        return std::nullopt;
    }
    if (bom)
        out.raw("\xEF\xBB\xBF");
    TextRecordJoiner joiner(*job.list.format, state.fieldCount, state);
    if (state.headingLine)
        out.line(joiner.header(state.listHeaderLine));

    const std::vector<Piece>& pieces = job.mailing.pieces();
    std::vector<bool> written(pieces.size());
    PieceValues values(job.mailing);
    const int32_t containers = static_cast<int32_t>(job.mailing.containers().size());
    WalkPresortOrder(
        job.mailing, [&](int32_t c) { progress.before(c + 1, containers); },
        [&](const PlacedPiece& p) {
            out.line(joiner.join(job.list.lineOf(static_cast<size_t>(p.record)), values.tray(p),
                                 values.package(p), values.endorsement(p.zipGroup)));
            written[static_cast<size_t>(p.record)] = true;
        });
    // Every record the presort did not place follows, in list order: none is lost.
    for (size_t r = 0; r < pieces.size(); ++r)
        if (!written[r])
            out.line(joiner.join(job.list.lineOf(r), PieceValues::notPlaced(),
                                 PieceValues::notPlaced(), ""));
    for (const std::string& blank : state.trailingBlankLines)
        out.line(blank);
    if (progress.stopBeforeWriting())
        return std::nullopt;
    platform::WriteResult result = out.commit();
    if (!result.ok) {
        reportListNotWritten(notices, path, result);
        return std::nullopt;
    }
    ClosingMessage closing = sortedFileMessage(path);
    // Without a heading nothing names the fields the sort went into, so the next sort cannot
    // find them again: the caller is told where they are.
    if (!state.headingLine)
        closing.fieldsWritten = joiner.placesWritten();
    return closing;
}

} // namespace quillan
