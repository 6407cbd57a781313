#include "listio/TextListWriter.h"

#include "listio/AsciiFields.h"
#include "listio/ListFileError.h"
#include "listio/ListKinds.h"
#include "listio/PresortOrder.h"
#include "listio/TextLineReader.h"

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
bool unchangedSinceRead(const AppContext& ctx) {
    const auto& records = ctx.tables.pieceRecords;
    const int32_t count = ctx.counters.recordCount;
    if (count < 0 || records.size() <= static_cast<size_t>(count) || ctx.list.fieldCount <= 0)
        return false;
    try {
        TextLineReader reader(ctx.listFileName);
        std::string line;
        if (isHeaderKind(ctx.listFileKind) &&
            (reader.next(line) != TextLineReader::Status::Line || line != ctx.list.listHeaderLine))
            return false;
        for (int32_t r = 1; r <= count; ++r)
            if (reader.next(line) != TextLineReader::Status::Line ||
                line != records[static_cast<size_t>(r)])
                return false;
        return reader.next(line) == TextLineReader::Status::End;
    } catch (const ListFileError&) {
        return false;
    }
}

} // namespace

TextRecordJoiner::TextRecordJoiner(std::string kind, int fieldCount, const ListState& roles)
    : kind_(std::move(kind)),
      fieldCount_(fieldCount), columns_{roles.trayColumn, roles.packageColumn,
                                        roles.endorsementColumn} {}

bool TextRecordJoiner::anyColumn() const {
    return std::any_of(std::begin(columns_), std::end(columns_), [](int c) { return c >= 0; });
}

std::string TextRecordJoiner::join(const std::string& line, const std::string& tray,
                                   const std::string& package, const std::string& endorsement) {
    const std::string* values[3] = {&tray, &package, &endorsement};
    if (!anyColumn()) {
        if (kind_ == KindTab)
            return line + "\t" + tray + "\t" + package + "\t" + endorsement;
        if (kind_ == KindBar)
            return line + tray + "|" + package + "|" + endorsement + "|";
        return line + ",\"" + tray + "\",\"" + package + "\",\"" + endorsement + "\"";
    }
    int count = std::max(fieldCount_, fieldCount(kind_, line));
    SplitAsciiRecord(kind_, count, line, fields_);
    fields_.resize(static_cast<size_t>(count));
    for (int i = 0; i < 3; ++i) {
        size_t column = static_cast<size_t>(columns_[i]);
        if (columns_[i] < 0)
            fields_.push_back(*values[i]);
        else {
            if (column >= fields_.size())
                fields_.resize(column + 1);
            fields_[column] = *values[i];
        }
    }
    return joinFields();
}

std::string TextRecordJoiner::joinFields() const {
    std::string out;
    if (isTabOrBarKind(kind_)) {
        const char delimiter = kind_ == KindBar ? '|' : '\t';
        for (size_t i = 0; i < fields_.size(); ++i) {
            if (i > 0)
                out += delimiter;
            out += fields_[i];
        }
        if (kind_ == KindBar)
            out += '|';
        return out;
    }
    for (size_t i = 0; i < fields_.size(); ++i)
        out += (i > 0 ? ",\"" : "\"") + fields_[i] + "\"";
    return out;
}

std::string TextRecordJoiner::header(const std::string& headerLine) const {
    std::string out = headerLine;
    for (int i = 0; i < 3; ++i) {
        if (columns_[i] >= 0)
            continue;
        if (kind_ == KindBar)
            out += std::string(kGainedNames[i]) + "|";
        else
            out += std::string(",") + kGainedNames[i];
    }
    return out;
}

std::optional<ClosingMessage> WriteTextList(AppContext& ctx, WriterProgress& progress) {
    progress.begin("Sorted File");
    const std::string path = ctx.listFileName;
    if (!unchangedSinceRead(ctx)) {
        reportNotSaved(ctx, path,
                       "The file is no longer the one Quillan read (it was changed, moved or "
                       "removed since). It has been left as it is; please sort it again.");
        return std::nullopt;
    }
    const bool bom = startsWithByteOrderMark(path);
    LineOutput out(path);
    if (!out.ok()) {
        reportNotSaved(ctx, path, "Your list has not been changed. (" + out.error() + ")");
        return std::nullopt;
    }
    if (bom)
        out.raw("\xEF\xBB\xBF");
    TextRecordJoiner joiner(ctx.listFileKind, ctx.list.fieldCount, ctx.list);
    if (isHeaderKind(ctx.listFileKind))
        out.line(joiner.header(ctx.list.listHeaderLine));

    const auto& records = ctx.tables.pieceRecords;
    const int32_t count = ctx.counters.recordCount;
    std::vector<bool> written(static_cast<size_t>(count) + 1);
    PieceValues values(ctx);
    const int32_t containers = ctx.counters.containerCount - 1;
    WalkPresortOrder(
        ctx, [&](int32_t c) { progress.before(c, containers); },
        [&](const PlacedPiece& p) {
            out.line(joiner.join(records[static_cast<size_t>(p.record)], values.tray(p),
                                 values.package(p), values.endorsement(p.zipGroup)));
            written[static_cast<size_t>(p.record)] = true;
        });
    // Every record the presort did not place follows, in list order: none is lost.
    for (int32_t r = 1; r <= count; ++r)
        if (!written[static_cast<size_t>(r)])
            out.line(joiner.join(records[static_cast<size_t>(r)], PieceValues::notPlaced(),
                                 PieceValues::notPlaced(), ""));
    platform::WriteResult result = out.commit();
    if (!result.ok) {
        reportNotSaved(ctx, path, "Your list has not been changed. (" + result.error + ")");
        return std::nullopt;
    }
    return sortedFileMessage(path);
}

} // namespace quillan
