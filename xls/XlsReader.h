#pragma once

#include "xls/KeptRecords.h"
#include "xls/MsoDrawingReader.h"
#include "xls/RecordCursor.h"
#include "xls/RecordKeeping.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {
class StorageError;
class WindowsCodePage;
} // namespace platform

namespace xls {

class InFileChart;
class Note;
class Sheet;
class Workbook;

// Reads one workbook file into a cleared workbook: every record in file order, handed to a
// handler by its id, the current sheet switched at each BOF. One reader serves one read.
// Every length and count a record states is checked against the record; a failure while a
// record is handled raises RecordError, one line naming the record, the file and the cause,
// and what was read before it stays in the workbook. A damaged compound file raises
// platform::StorageError in words naming the file.
class XlsReader {
public:
    explicit XlsReader(Workbook& book);
    XlsReader(const XlsReader&) = delete;
    XlsReader& operator=(const XlsReader&) = delete;
    ~XlsReader();

    void read(const std::string& fileName);
    void readBytes(std::string fileBytes);

    // The value of an RK number.
    static double decodeRk(uint32_t rk);

private:
    struct BoundSheetEntry {
        std::string name; // flagged in BIFF8, plain text before
        uint32_t offset = 0;
        uint8_t visibility = 0;
        uint8_t kind = 0;
    };
    struct SharedFormula {
        uint16_t firstRow = 0, lastRow = 0;
        uint8_t firstCol = 0, lastCol = 0;
        std::string tokens;
    };
    struct FollowingRecord {
        RecordHeader header;
        std::string_view body;
        uint64_t start = 0; // of its header
    };

    void run(ExcelVersion version);
    platform::StorageError damaged() const;
    // The current record cannot be what its header says; names its id and place.
    XlsError damagedRecord(const std::string& fault) const;
    void loop();
    void requireLastEof() const;
    void dispatch();
    // Records other than cells: their handler, then kept or counted for the writer.
    void onOtherRecord();
    void finishSheets();
    void finishSheet(Sheet& s);
    void beginSheet();
    void endSheet();
    bool lastSubstreamDone() const;

    // The record after the current one, when a whole one is there; rewind() goes back to
    // the start of a record taken this way.
    bool nextRecord(FollowingRecord& next);
    void rewind(const FollowingRecord& record);

    // What a write in the same version carries through (see KeptRecords).
    KeptRecords* keptRecords();
    Keeping keepingOfCurrent() const;
    bool keptUnread(const KeptRecords& kept);
    // The records from the current one's start to where the stream stands, kept.
    void keepCurrent(KeptRecords& kept, bool drawing, bool counts = true);
    // The made record just before the current one, when it was a cell, a ROW or DIMENSIONS.
    KeptRecords::Mark markOfCellRecordAt(uint64_t position);
    void startSubstream();

    // Substreams and their sheets.
    void onBof();
    void onEof();
    std::string openSubstreamName() const;
    void skipSubstream();
    void onEmbeddedChart();
    Sheet* sheet();

    // Cells and formulas.
    bool onCellRecord();
    int32_t biff2Xf();
    void onFormula();
    void storeFormulaResult(int col, int row, int32_t xf, std::string_view result,
                            std::string_view tokens, std::string_view constants);
    std::optional<std::string> followingString();
    std::string stringRecordText(const FollowingRecord& stringRecord);
    void storeSharedFormula(std::string_view body);
    bool applySharedFormula(int row, int col, std::string& tokens) const;
    void onMulRk();
    void onMulBlank();
    void onLabel();
    void setText8(Sheet& s, int col, int row, std::string_view bytes, int32_t xf);
    void setRichText8(Sheet& s, int col, int row, std::string_view bytes, std::string_view runs,
                      int32_t xf);
    static std::string wideRuns(std::string_view after);

    // Sheet, print and page records.
    bool onSheetRecord();
    void onDimensions();
    void onColInfo();
    void onWindow2();
    void onSetup();
    void onPageBreaks(bool horizontal);
    void onHeaderFooter(bool header);
    void onMergedCells();
    void onHyperlink();
    std::string hyperlinkText() const;
    std::string monikerTarget(RecordCursor& in) const;
    void onDataValidations();

    // Drawings, notes and charts.
    void onDrawingGroup();
    void onDrawing();
    void onObject();
    void readNoteText(int32_t objectId);
    void onNote();
    void onLegacyNote(Sheet& s);
    void readChart(InFileChart& chart);

    // Workbook globals.
    bool onGlobalRecord();
    void onBoundSheet();
    void onFont();
    void onFormat();
    void onXf();
    void onPalette();
    void onWriteAccess();
    void readUserName();
    void onSst();
    void onNameRecord();
    void readBiff5Name();
    void onCodeName();

    bool biff8() const;
    // 8-bit text of a file before BIFF8 in the code page its CODEPAGE record names: its
    // characters, or nothing where the ANSI code page reads it as it is (or it holds bytes
    // the code page has no character for, and stays the bytes it is).
    std::optional<std::u16string> decoded(std::string_view bytes) const;
    // The same as a flagged string; the ANSI text made one where nothing is decoded.
    std::string flaggedText8(std::string_view bytes) const;
    // count 8-bit characters of the body; the body from an offset on (empty past its end).
    std::string text8(size_t offset, size_t count) const;
    std::string_view tail(size_t offset) const;

    Workbook& book_;
    XlsStream stream_;
    std::string fileLabel_; // the name of the file read, for messages
    std::unique_ptr<platform::WindowsCodePage> codePage_;
    ExcelVersion version_ = ExcelVersion::None;
    RecordHeader header_;
    RecordCursor body_;
    uint64_t recordStart_ = 0;
    uint64_t previousStart_ = 0; // of the record dispatched before the current one
    uint32_t recordNumber_ = 0;
    bool finished_ = false;

    int curSheet_ = -1;
    Sheet* sinkSheet_ = nullptr; // the sheet whose cells go to the cell sink now
    std::vector<BoundSheetEntry> sheetNames_;
    int sheetNameIndex_ = -1;
    bool inWorksheet_ = false;
    bool substreamOpen_ = false; // a BOF read and its EOF not yet
    std::vector<SharedFormula> sharedFormulas_;
    // BIFF2 cell formats: from XF records, the one an IXFE record names, or made from the
    // cells' attribute bytes.
    bool biff2XfRecords_ = false;
    int32_t ixfe_ = 0;
    std::unordered_map<uint16_t, int32_t> attributeFormats_;
    // The place of the next kept record among the made ones, and whether the record before
    // it was kept too, and was a drawing's.
    KeptRecords::Mark placeMark_;
    uint32_t lastOtherRecord_ = 0;
    bool lastKept_ = false;
    bool lastKeptDrawing_ = false;
    bool inCustomView_ = false;
    MsoDrawingReader drawingReader_;
    // What the last shape the drawing reader handed over became.
    enum class TakenShape : uint8_t { None, Picture, Chart };
    TakenShape takenShape_ = TakenShape::None;
    bool afterDrawing_ = false; // the last record was a drawing's, which CONTINUE may carry on
    std::unordered_map<int32_t, Note*> notesByObject_; // the current sheet's notes
};

} // namespace xls
