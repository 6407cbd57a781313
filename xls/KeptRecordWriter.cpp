#include "xls/KeptRecordWriter.h"

#include "xls/RecordCursor.h"
#include "xls/RecordId.h"
#include "xls/RecordKeeping.h"
#include "xls/XlsStream.h"

namespace xls {

namespace {

bool goesWithRecordBefore(uint16_t id) {
    return id == record::String || id == record::Array || id == record::Continue ||
           id == record::Dv;
}

bool isCell(uint16_t id) {
    switch (id) {
    case record::Blank:
    case record::Number:
    case record::Label:
    case record::LabelSst:
    case record::BoolErr:
    case record::Formula:
    case record::Formula4:
        return true;
    default:
        return false;
    }
}

} // namespace

void KeptRecordWriter::begin(const KeptRecords* kept, bool drawings, bool sameInBothVersionsOnly) {
    kept_ = kept && !kept->runs().empty() ? kept : nullptr;
    drawings_ = drawings;
    sameInBothVersionsOnly_ = sameInBothVersionsOnly;
    paused_ = false;
    next_ = 0;
    written_.clear();
    lastCell_ = lastRow_ = -1;
}

KeptRecordWriter::Mark KeptRecordWriter::markOf(uint16_t id, std::string_view body) {
    RecordCursor in(body);
    if (isCell(id))
        return {Mark::Kind::Cell, 0, (static_cast<uint32_t>(in.u16(0)) << 8) | (in.u16(2) & 0xFF)};
    if (id == record::Row)
        return {Mark::Kind::Row, id, in.u16(0)};
    for (auto& [known, count] : written_)
        if (known == id)
            return {Mark::Kind::Record, id, count + 1};
    return {Mark::Kind::Record, id, 1};
}

bool KeptRecordWriter::passed(const Mark& mark) const {
    switch (mark.kind) {
    case Mark::Kind::None:
        return true;
    case Mark::Kind::Cell:
        return lastCell_ >= static_cast<int64_t>(mark.value);
    case Mark::Kind::Row:
        return lastRow_ >= static_cast<int64_t>(mark.value);
    case Mark::Kind::Record:
        for (const auto& [known, count] : written_)
            if (known == mark.id)
                return count >= mark.value;
        return false;
    }
    return false;
}

// Whether the record about to be written is the one that followed the run, or one after it.
bool KeptRecordWriter::reaches(const Mark& current, const Mark& before) {
    if (current.kind != before.kind || before.kind == Mark::Kind::None)
        return false;
    return (before.kind == Mark::Kind::Record ? current.id == before.id : true) &&
           current.value >= before.value;
}

// A run among the cells goes in after the cell before it; any other run goes in before the
// made record that followed it (the writer may have put other records between the two that
// were its neighbours), or after the one before it when none followed.
bool KeptRecordWriter::due(const KeptRecords::Run& run, const Mark& current) const {
    bool amongCells = run.after.kind == Mark::Kind::Cell || run.after.kind == Mark::Kind::Row;
    // Into another version the record that followed may not be written at all.
    if (amongCells || run.before.kind == Mark::Kind::None || sameInBothVersionsOnly_)
        return passed(run.after) || reaches(current, run.before);
    return reaches(current, run.before);
}

void KeptRecordWriter::beforeRecord(XlsStream& stream, uint16_t id, std::string_view body) {
    if (!kept_ || paused_ || next_ >= kept_->runs().size() || goesWithRecordBefore(id))
        return;
    Mark current = markOf(id, body);
    const std::vector<KeptRecords::Run>& runs = kept_->runs();
    size_t end = next_;
    while (end < runs.size() && due(runs[end], current))
        ++end;
    writeRuns(stream, end);
    switch (current.kind) {
    case Mark::Kind::Cell:
        lastCell_ = current.value;
        break;
    case Mark::Kind::Row:
        lastRow_ = current.value;
        break;
    default: {
        bool counted = false;
        for (auto& [known, count] : written_)
            if (known == id) {
                ++count;
                counted = true;
            }
        if (!counted)
            written_.emplace_back(id, 1);
    }
    }
}

void KeptRecordWriter::finish(XlsStream& stream) {
    if (kept_)
        writeRuns(stream, kept_->runs().size());
    kept_ = nullptr;
}

void KeptRecordWriter::writeRuns(XlsStream& stream, size_t end) {
    for (; next_ < end; ++next_)
        for (const KeptRecords::Piece& piece : kept_->runs()[next_].pieces) {
            if (!drawings_ && piece.drawing)
                continue;
            if (!sameInBothVersionsOnly_) {
                stream.writeRaw(piece.records);
                continue;
            }
            RecordCursor in(piece.records);
            for (size_t at = 0; at + 4 <= in.size(); at += 4 + in.u16(at + 2))
                if (sameInBiff5And8(in.u16(at)))
                    stream.writeRaw(in.bytes(at, 4 + in.u16(at + 2)));
        }
}

} // namespace xls
