// The record loop of the workbook reader: opening the file, the first BOF, the substreams
// and their sheets, and the dispatch of every record to its handler.

#include "xls/XlsReader.h"

#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace xls {

namespace {

constexpr uint16_t WorksheetType = 0x0010;
constexpr uint16_t ChartType = 0x0020;
constexpr uint16_t WorkbookType = 0x0100;
constexpr size_t MaxBofSize = 256;
constexpr int ProgressStep = 100;

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
    run(stream_.openRead(fileName));
}

void XlsReader::readBytes(std::string fileBytes) {
    run(stream_.openReadBytes(std::move(fileBytes)));
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
        // A BIFF4 workbook keeps its sheets in substreams this library does not read; read
        // as one empty sheet it would be written back over the user's file.
        if (version_ == ExcelVersion::Excel40 && body_.u16(2) == WorkbookType)
            throw XlsError("unsupported BIFF4 workbook");
        if (body_.u16(2) == WorksheetType) {
            curSheet_ = 0;
            inWorksheet_ = true;
        }
        book_.isMac = biff8() && (body_.u32(8) & 0x10) != 0;
        if (book_.onProgress)
            book_.onProgress(0);
        loop();
        finishSheets();
        if (book_.onProgress)
            book_.onProgress(100);
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
        recordStart_ = stream_.position() - 4;
        try {
            if (stream_.size() - stream_.position() < header_.length)
                throw XlsError("Unexpected end of file");
            if (header_.length > maxBody) {
                stream_.seek(header_.length, SeekOrigin::Current);
                continue;
            }
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
            throw XlsError("Error on reading record # " + std::to_string(recordNumber_) + "\r" +
                           e.what());
        }
        for (size_t i = recordPositions_.size() - 1; i > 0; --i)
            recordPositions_[i] = recordPositions_[i - 1];
        recordPositions_[0] = stream_.position();
    }
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
    bool drawing =
        id == record::MsoDrawing || id == record::Obj || (id == record::Continue && afterDrawing_);
    if (isBof(id))
        onBof();
    else if (id == record::Eof)
        onEof();
    else if (!onCellRecord() && !onSheetRecord())
        onGlobalRecord();
    afterDrawing_ = drawing;
}

bool XlsReader::lastSubstreamDone() const {
    return sheetNames_.empty() || sheetNameIndex_ >= static_cast<int>(sheetNames_.size()) - 1;
}

void XlsReader::onBof() {
    uint16_t type = body_.u16(2);
    if (!inWorksheet_)
        inWorksheet_ = type == WorksheetType;
    if (type == ChartType) {
        if (inWorksheet_)
            return onEmbeddedChart(); // the worksheet goes on after it
        ++sheetNameIndex_;
        InFileChart& chart = book_.inFileCharts().add();
        chart.tabPosition = sheetNameIndex_;
        if (sheetNameIndex_ < static_cast<int>(sheetNames_.size())) {
            const std::string& name = sheetNames_[static_cast<size_t>(sheetNameIndex_)].name;
            chart.flaggedName = biff8() ? name : toXlsString(name);
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
    if (sheetNameIndex_ < static_cast<int>(sheetNames_.size()))
        sheet()->setName(sheetNames_[static_cast<size_t>(sheetNameIndex_)].name);
}

void XlsReader::onEof() {
    inWorksheet_ = false;
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
}

// A missing or short DIMENSIONS record must not hide cells from the program, which reads
// LastRow and LastCol to know how much of a sheet to take.
void XlsReader::finishSheets() {
    for (size_t i = 0; i < book_.sheets().count(); ++i) {
        Sheet& s = book_.sheets().item(i);
        s.cells().beginIterate();
        if (!s.cells().nextCell())
            continue;
        CellStorage::Dimensions cells = s.cells().calcDimensions();
        s.firstCol = static_cast<uint16_t>(std::min<int32_t>(s.firstCol, cells.firstCol));
        s.firstRow = static_cast<uint16_t>(std::min<int32_t>(s.firstRow, cells.firstRow));
        s.lastCol = static_cast<uint16_t>(std::max<int32_t>(s.lastCol, cells.lastCol));
        s.lastRow = static_cast<uint16_t>(std::max<int32_t>(s.lastRow, cells.lastRow));
    }
}

std::string XlsReader::text8(size_t offset, size_t count) const {
    return std::string(body_.bytes(offset, count));
}

std::string_view XlsReader::tail(size_t offset) const {
    return body_.data().substr(std::min(offset, body_.size()));
}

} // namespace xls
