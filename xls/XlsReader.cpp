// The record loop of the workbook reader: opening the file, the first BOF, the substreams
// and their sheets, and the dispatch of every record to its handler.

#include "xls/XlsReader.h"

#include "platform/storage/StorageError.h"
#include "platform/text/WindowsCodePage.h"
#include "xls/CellRecordShape.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>

namespace xls {

namespace {

constexpr uint16_t WorksheetType = 0x0010;
constexpr uint16_t ChartType = 0x0020;
constexpr uint16_t WorkbookType = 0x0100;
constexpr size_t MaxBofSize = 256;
constexpr int ProgressStep = 100;
constexpr uint16_t CustomViewBegin = 0x01AA;
constexpr uint16_t CustomViewEnd = 0x01AB;

bool isBof(uint16_t id) {
    return id == 0x0009 || id == 0x0209 || id == record::Bof4 || id == record::Bof;
}

} // namespace

XlsReader::XlsReader(Workbook& book) : book_(book) {
    stream_.setCopyStorages(book.preserveMacros);
    stream_.setKeptStorages(&book.keptStorages());
    stream_.setKeptStreams(&book.keptStreams());
}

XlsReader::~XlsReader() = default;

double XlsReader::decodeRk(uint32_t rk) {
    int32_t v = static_cast<int32_t>(rk & ~3u);
    double value;
    if (rk & 2) {
        value = v / 4;
    } else {
        uint64_t bits = static_cast<uint64_t>(static_cast<uint32_t>(v)) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) ? value / 100 : value;
}

void XlsReader::read(const std::string& fileName) {
    fileLabel_ = std::filesystem::path(fileName).filename().string();
    ExcelVersion version;
    try {
        version = stream_.openRead(fileName);
    } catch (const platform::StorageError&) {
        throw damaged();
    }
    run(version);
}

// The container library's own words (its block tables, its failed assertions) tell a person
// nothing.
platform::StorageError XlsReader::damaged() const {
    return platform::StorageError(
        (fileLabel_.empty() ? std::string("The file") : "\"" + fileLabel_ + "\"") +
        " is damaged: the compound file that holds its workbook cannot be read");
}

void XlsReader::readBytes(std::string fileBytes) {
    ExcelVersion version;
    try {
        version = stream_.openReadBytes(std::move(fileBytes));
    } catch (const platform::StorageError&) {
        throw damaged();
    }
    run(version);
}

void XlsReader::run(ExcelVersion version) {
    try {
        book_.isDefaultWorkbook = false;
        version_ = version;
        if (version != ExcelVersion::None)
            book_.setVersion(version);
        if (!stream_.readHeader(header_) || (header_.id & 0xFF) != 0x09)
            throw XlsError("BOF is missing in file");
        // A plain file holding a BIFF5 or BIFF8 stream has no version this library reads.
        if (version == ExcelVersion::None)
            throw XlsError("File is not a Excel Workbook");
        if (header_.length > MaxBofSize)
            throw XlsError("Invalid BOF size");
        if (stream_.size() - stream_.position() < header_.length)
            throw XlsError("BOF is missing in file");
        body_ = RecordCursor(stream_.readView(header_.length));
        // Some writers put BIFF8 records into a stream named "Book", or BIFF5 records into
        // "Workbook": the BOF tells.
        if (version >= ExcelVersion::Excel50 && body_.u16(0) == 0x0600)
            version_ = ExcelVersion::Excel97;
        else if (version >= ExcelVersion::Excel50 && body_.u16(0) == 0x0500)
            version_ = ExcelVersion::Excel50;
        book_.setVersion(version_);
        book_.readVersion = version_;
        // A BIFF4 workbook keeps its sheets in substreams this library does not read; read
        // as one empty sheet it would be written back over the user's file.
        if (version_ == ExcelVersion::Excel40 && body_.u16(2) == WorkbookType)
            throw XlsError("unsupported BIFF4 workbook");
        if (body_.u16(2) == WorksheetType) {
            curSheet_ = 0;
            inWorksheet_ = true;
        }
        substreamOpen_ = true;
        startSubstream();
        beginSheet();
        book_.isMac = biff8() && (body_.u32(8) & 0x10) != 0;
        if (book_.onProgress)
            book_.onProgress(0);
        loop();
        requireLastEof();
        book_.tabsRead = sheetNames_.size();
        finishSheets();
        if (book_.onProgress)
            book_.onProgress(100);
    } catch (const platform::StorageError&) {
        finishSheets();
        stream_.abandon();
        throw damaged();
    } catch (...) {
        finishSheets();
        stream_.abandon();
        throw;
    }
    stream_.close();
}

void XlsReader::loop() {
    const size_t maxBody = static_cast<size_t>(book_.maxRecordSize());
    int sinceProgress = 0;
    while (!finished_ && stream_.readHeader(header_)) {
        ++recordNumber_;
        previousStart_ = recordStart_;
        recordStart_ = stream_.position() - 4;
        try {
            // Read past, a record too long for its version would leave the sheet without
            // the cells it holds and the write-back would drop them.
            if (header_.length > maxBody)
                throw damagedRecord("it is " + std::to_string(header_.length) +
                                    " bytes long, longer than any record of its version (" +
                                    std::to_string(maxBody) + ")");
            if (stream_.size() - stream_.position() < header_.length)
                throw XlsError("Unexpected end of file");
            body_ = RecordCursor(stream_.readView(header_.length));
            if (++sinceProgress == ProgressStep) {
                sinceProgress = 0;
                if (book_.onProgress && stream_.size() > 0)
                    book_.onProgress(static_cast<int>(std::nearbyint(
                        static_cast<double>(stream_.position()) / stream_.size() * 100)));
            }
            dispatch();
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            throw RecordError(recordNumber_, e.what(), fileLabel_);
        }
    }
}

// A stream that ends inside a substream was cut: the rest of the sheet is not there.
void XlsReader::requireLastEof() const {
    if (finished_)
        return;
    std::string file = fileLabel_.empty() ? std::string("the workbook") : "\"" + fileLabel_ + "\"";
    throw XlsError("Error on reading " + file + ": its stream ends at byte " +
                   std::to_string(stream_.position()) + " before the EOF record of its " +
                   openSubstreamName());
}

std::string XlsReader::openSubstreamName() const {
    return curSheet_ < 0 ? std::string("workbook globals")
                         : "sheet " + std::to_string(curSheet_ + 1);
}

XlsError XlsReader::damagedRecord(const std::string& fault) const {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", header_.id);
    return XlsError("record 0x" + std::string(id) + " at byte " + std::to_string(recordStart_) +
                    " is damaged: " + fault);
}

bool XlsReader::biff8() const {
    return version_ >= ExcelVersion::Excel97;
}

Sheet* XlsReader::sheet() {
    if (curSheet_ < 0 || static_cast<size_t>(curSheet_) >= book_.sheets().count())
        return nullptr;
    return &book_.sheets().item(static_cast<size_t>(curSheet_));
}

bool XlsReader::nextRecord(FollowingRecord& next) {
    next.start = stream_.position();
    if (!stream_.readHeader(next.header))
        return false;
    if (stream_.size() - stream_.position() < next.header.length) {
        stream_.seek(static_cast<int64_t>(next.start), SeekOrigin::Begin);
        return false;
    }
    next.body = stream_.readView(next.header.length);
    return true;
}

void XlsReader::rewind(const FollowingRecord& record) {
    stream_.seek(static_cast<int64_t>(record.start), SeekOrigin::Begin);
}

void XlsReader::dispatch() {
    uint16_t id = header_.id;
    if (std::optional<std::string> fault = fixedRecordFault(id, body_.size(), version_))
        throw damagedRecord(*fault);
    bool drawing =
        id == record::MsoDrawing || id == record::Obj || (id == record::Continue && afterDrawing_);
    if (isBof(id))
        onBof();
    else if (id == record::Eof)
        onEof();
    else if (!onCellRecord())
        onOtherRecord();
    afterDrawing_ = drawing;
}

bool XlsReader::lastSubstreamDone() const {
    return sheetNames_.empty() || sheetNameIndex_ >= static_cast<int>(sheetNames_.size()) - 1;
}

void XlsReader::onBof() {
    uint16_t type = body_.u16(2);
    // Substreams follow one another, each ended by its EOF; only a chart stands inside a
    // worksheet. A BOF before the EOF is a record read out of the wrong bytes, and a sheet
    // begun there would take the rest of the one before.
    if (substreamOpen_ && !(type == ChartType && inWorksheet_) && version_ >= ExcelVersion::Excel50)
        throw damagedRecord("it begins a substream before the EOF record of its " +
                            openSubstreamName());
    if (!inWorksheet_)
        inWorksheet_ = type == WorksheetType;
    if (type == ChartType) {
        if (inWorksheet_) {
            onEmbeddedChart(); // the worksheet goes on after it
            if (KeptRecords* kept = keptRecords())
                keepCurrent(*kept, biff8());
            return;
        }
        ++sheetNameIndex_;
        InFileChart& chart = book_.inFileCharts().add();
        chart.tabPosition = sheetNameIndex_;
        chart.bof = body_.data();
        if (sheetNameIndex_ < static_cast<int>(sheetNames_.size())) {
            const BoundSheetEntry& entry = sheetNames_[static_cast<size_t>(sheetNameIndex_)];
            chart.flaggedName =
                biff8() || isWideXlsString(entry.name) ? entry.name : toXlsString(entry.name);
            chart.visibility = entry.visibility;
        }
        readChart(chart);
        finished_ = lastSubstreamDone();
        return;
    }
    ++sheetNameIndex_;
    ++curSheet_;
    notesByObject_.clear();
    takenShape_ = TakenShape::None; // a shape of the last sheet is no object of this one
    if (curSheet_ > 0)
        book_.sheets().add();
    if (sheetNameIndex_ < static_cast<int>(sheetNames_.size())) {
        const BoundSheetEntry& entry = sheetNames_[static_cast<size_t>(sheetNameIndex_)];
        sheet()->setName(entry.name);
        sheet()->visibility = entry.visibility;
        sheet()->sheetKind = entry.kind;
    }
    sheet()->substreamType = type;
    substreamOpen_ = true;
    startSubstream();
    beginSheet();
}

// A substream's kept records start with no place yet: a kept record before any made one
// stands at its start.
void XlsReader::startSubstream() {
    placeMark_ = {};
    lastKept_ = false;
    inCustomView_ = false;
    lastOtherRecord_ = recordNumber_;
    if (KeptRecords* kept = keptRecords()) {
        kept->read = true;
        kept->bof = body_.data();
    }
}

KeptRecords* XlsReader::keptRecords() {
    if (curSheet_ < 0)
        return &book_.keptGlobals();
    Sheet* s = sheet();
    return s ? &s->keptRecords() : nullptr;
}

// The one rule's table, and the records whose kind says less than their content: a user's
// cell style is kept while the built-in ones are made; a CONTINUE belongs with the record
// before it.
Keeping XlsReader::keepingOfCurrent() const {
    uint16_t id = header_.id;
    if (id == record::Continue)
        return !lastKept_ ? Keeping::Dropped : lastKeptDrawing_ ? Keeping::Drawing : Keeping::Kept;
    if (id == record::Style && (body_.u16(0) & 0x8000) == 0)
        return Keeping::Kept;
    return keepingOf(id, version_, curSheet_ < 0);
}

// Records the model must not take: those of a custom view (its own print settings, panes and
// selection, between USERSVIEWBEGIN and USERSVIEWEND), a second window's settings, a number
// format given twice, and records out of their substream. They are kept as they are.
bool XlsReader::keptUnread(const KeptRecords& kept) {
    uint16_t id = header_.id;
    if (id == CustomViewBegin)
        inCustomView_ = true;
    if (inCustomView_) {
        inCustomView_ = id != CustomViewEnd;
        return true;
    }
    bool globals = curSheet_ < 0;
    Keeping keeping = keepingOf(id, version_, globals);
    // A workbook record in a sheet, or a sheet's among the globals; PROTECT is both.
    if (keeping == Keeping::Kept && keepingOf(id, version_, !globals) == Keeping::Made &&
        id != record::Protect)
        return true;
    if (madeOnlyWhereHeld(id) && kept.held(id) > 0)
        return keeping == Keeping::Made;
    return id == record::Format && version_ >= ExcelVersion::Excel50 &&
           book_.formats().readFromRecord(body_.u16(0));
}

void XlsReader::onOtherRecord() {
    KeptRecords* kept = keptRecords();
    // A made cell, ROW or DIMENSIONS record just before is the place of a record kept now.
    if (kept && lastOtherRecord_ + 1 != recordNumber_)
        placeMark_ = markOfCellRecordAt(previousStart_);
    lastOtherRecord_ = recordNumber_;
    if (kept && keptUnread(*kept))
        return keepCurrent(*kept, false, false);
    if (!onSheetRecord())
        onGlobalRecord();
    if (!kept)
        return;
    Keeping keeping = keepingOfCurrent();
    if (keeping == Keeping::Made) {
        placeMark_ = kept->countMade(header_.id);
        if (header_.id != record::Sst && header_.id != record::ExtSst)
            kept->keepMadeBody(header_.id, body_.data());
    }
    if (keeping == Keeping::Kept || keeping == Keeping::Drawing)
        keepCurrent(*kept, keeping == Keeping::Drawing);
    else
        lastKept_ = false;
}

void XlsReader::keepCurrent(KeptRecords& kept, bool drawing, bool counts) {
    uint64_t end = stream_.position();
    stream_.seek(static_cast<int64_t>(recordStart_), SeekOrigin::Begin);
    std::string_view records = stream_.readView(end - recordStart_);
    kept.keep(records, header_.id, drawing, lastKept_, placeMark_, counts);
    lastKept_ = true;
    lastKeptDrawing_ = drawing;
}

KeptRecords::Mark XlsReader::markOfCellRecordAt(uint64_t position) {
    using Kind = KeptRecords::Mark::Kind;
    uint64_t here = stream_.position();
    stream_.seek(static_cast<int64_t>(position), SeekOrigin::Begin);
    RecordHeader header;
    KeptRecords::Mark mark = placeMark_;
    if (stream_.readHeader(header)) {
        RecordCursor body(stream_.readView(header.length));
        uint32_t key = static_cast<uint32_t>(body.u16(0)) << 8;
        switch (header.id) {
        case record::Row:
            mark = {Kind::Row, header.id, body.u16(0)};
            break;
        case record::Dimensions:
            mark = {Kind::Record, header.id, 1};
            break;
        case record::MulRk:
        case record::MulBlank:
            mark = {Kind::Cell, 0, key | (body.u16(body.size() - 2) & 0xFF)};
            break;
        case record::Blank:
        case record::Number:
        case record::Label:
        case record::BoolErr:
        case record::Formula:
        case record::Formula3:
        case record::Formula4:
        case record::Rk:
        case record::RString:
        case record::LabelSst:
            mark = {Kind::Cell, 0, key | (body.u16(2) & 0xFF)};
            break;
        default:
            break;
        }
    }
    stream_.seek(static_cast<int64_t>(here), SeekOrigin::Begin);
    return mark;
}

void XlsReader::onEof() {
    substreamOpen_ = false;
    endSheet();
    inWorksheet_ = false;
    lastKept_ = false;
    sharedFormulas_.clear();
    finished_ = lastSubstreamDone();
}

// The chart belongs to the last chart of the sheet's drawing that has no records yet; a
// chart without one is stepped over.
void XlsReader::onEmbeddedChart() {
    Sheet* s = sheet();
    if (s && s->inFileCharts().count() > 0 && s->inFileCharts().last().records.count() == 0)
        return readChart(s->inFileCharts().last());
    skipSubstream();
}

void XlsReader::readChart(InFileChart& chart) {
    chart.records.readUntilEof(stream_, static_cast<size_t>(book_.maxRecordSize()));
}

void XlsReader::skipSubstream() {
    RecordHeader header;
    while (stream_.readHeader(header)) {
        if (stream_.size() - stream_.position() < header.length)
            throw XlsError("Unexpected end of file");
        stream_.seek(header.length, SeekOrigin::Current);
        if (header.id == record::Eof)
            return;
    }
    throw XlsError("Unexpected end of file");
}

void XlsReader::finishSheets() {
    endSheet();
    for (size_t i = 0; i < book_.sheets().count(); ++i)
        finishSheet(book_.sheets().item(i));
}

// The cells of a sheet go to the workbook's cell sink when it has one.
void XlsReader::beginSheet() {
    Sheet* s = sheet();
    CellSink* sink = book_.cellSink();
    if (!s || !sink)
        return;
    s->cells().passTo(sink);
    sink->sheetBegins(*s);
    sinkSheet_ = s;
}

void XlsReader::endSheet() {
    if (!sinkSheet_)
        return;
    Sheet& s = *std::exchange(sinkSheet_, nullptr);
    s.cells().flush();
    s.cells().passTo(nullptr);
    finishSheet(s);
    book_.cellSink()->sheetEnds(s);
}

// A missing or short DIMENSIONS record must not hide cells from the program, which reads
// LastRow and LastCol to know how much of a sheet to take.
void XlsReader::finishSheet(Sheet& s) {
    s.window.zoomRead = s.zoom;
    if (s.cells().empty())
        return;
    CellStorage::Dimensions cells = s.cells().calcDimensions();
    s.firstCol = static_cast<uint16_t>(std::min<int32_t>(s.firstCol, cells.firstCol));
    s.firstRow = static_cast<uint16_t>(std::min<int32_t>(s.firstRow, cells.firstRow));
    s.lastCol = static_cast<uint16_t>(std::max<int32_t>(s.lastCol, cells.lastCol));
    s.lastRow = static_cast<uint16_t>(std::max<int32_t>(s.lastRow, cells.lastRow));
}

std::optional<std::u16string> XlsReader::decoded(std::string_view bytes) const {
    if (!codePage_ || codePage_->isAnsi() ||
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return std::nullopt;
    return codePage_->toUtf16(bytes);
}

std::string XlsReader::flaggedText8(std::string_view bytes) const {
    if (std::optional<std::u16string> text = decoded(bytes))
        return wideXlsString(*text);
    return toXlsString(bytes);
}

std::string XlsReader::text8(size_t offset, size_t count) const {
    return std::string(body_.bytes(offset, count));
}

std::string_view XlsReader::tail(size_t offset) const {
    return body_.data().substr(std::min(offset, body_.size()));
}

} // namespace xls
