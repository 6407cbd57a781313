#pragma once

#include "xls/DrawingWriter.h"
#include "xls/ExcelVersion.h"
#include "xls/KeptRecordWriter.h"
#include "xls/RecordBody.h"
#include "xls/XlsStream.h"

#include "platform/text/WindowsCodePage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xls {

class InFileChart;
class SheetPicture;
class Sheet;
class Workbook;

// Writes a workbook held in memory as a file: BIFF8 or BIFF5 in a compound file, or the
// one sheet of a BIFF4 workbook as a plain file. The stream is built in memory, BOUNDSHEET
// offsets are patched into it, and it reaches the file (or the caller's buffer) only when
// it is complete: a failure leaves the target as it was. One writer serves one write.
class XlsWriter {
public:
    explicit XlsWriter(Workbook& book);
    XlsWriter(const XlsWriter&) = delete;
    XlsWriter& operator=(const XlsWriter&) = delete;
    ~XlsWriter();

    // Into the workbook's file, or appended to target when one is given.
    void writeBiff58(std::string* target);
    void writeBiff4(std::string* target);

    // The number of built-in cell formats written ahead of a new workbook's own.
    static int builtInXfCount(ExcelVersion version);

private:
    // The workbook's tabs in file order: worksheets and chart sheets.
    struct Tab {
        bool chart;
        size_t index;
        uint64_t field; // the position of its BOUNDSHEET's offset field
    };

    void open(std::string* target);
    void finish();

    void writeRecord(uint16_t id, const RecordBody& body);
    void writeRecord(uint16_t id, std::string_view body);
    void writeWord(uint16_t id, int64_t value);
    void writeBof(uint16_t type, std::string_view asRead = {});
    // How many records of the id the writer wrote so far in the current substream; counts
    // this one.
    uint32_t countWritten(uint16_t id);
    void writeEof();
    // A top-level substream: its BOF, and the kept records it carries through when the
    // workbook is written in the version it was read in; then its BOF is the one read.
    void beginSubstream(uint16_t type, const KeptRecords* kept, bool globals,
                        const std::string& bofAsRead = {});
    // Whether the writer writes its own record of the id into the current substream.
    bool makesOwn(uint16_t id) const;
    // Whether the substream being carried through held a record of the id.
    bool holds(uint16_t id) const;

    // Workbook globals.
    void writeGlobals();
    void writeWriteAccess();
    void writeCodeNames();
    void writeCodeName(const std::string& name, const std::string& asRead);
    void writeWindow1();
    void writeWorkbookFlags();
    void writeHideObj();
    void writeFonts();
    void writeFormats();
    void writeFormat(int index);
    void writeCellFormats();
    void writeStyles();
    void writePalette();
    void writeBoundSheets();
    void writeCountry();
    void writeNames();
    void writeSharedStrings();

    // Sheet substreams.
    void prepareSheet(Sheet& sheet);
    void writeSheet(const Tab& tab);
    void writeChartSheet(const Tab& tab);
    void arrangeTabs();
    void prepareDrawings();
    uint32_t allocateShapes(uint32_t shapes, uint32_t& drawingId);
    void renumberChartDrawing(InFileChart& chart, uint32_t& drawingId);
    void calcPictureAnchor(Sheet& sheet, SheetPicture& placement);
    void writeDrawingGroup();
    void writeDrawingObjects(size_t sheetIndex);
    void writeNoteObjects(const DrawingWriter& drawing, size_t& piece, uint16_t& objectId,
                          const SheetDrawing& objects);
    void writeObj(uint16_t type, uint16_t id, std::string_view rest);
    void writeNoteRecords(Sheet& sheet);
    void writeSheetHeader(Sheet& sheet);
    void writeSheetTrailer(Sheet& sheet);
    void writeCalculation(Sheet& sheet);
    void writeSheetLayout(Sheet& sheet);
    void writeWsBool(Sheet& sheet);
    void writePrintRecords(Sheet& sheet);
    void writePageBreaks(Sheet& sheet);
    void writeHeaderFooter(uint16_t id, const std::string& text, const std::string& asRead);
    void writeSetup(Sheet& sheet);
    void writeColumnFormats(Sheet& sheet);
    void writeDimensions(Sheet& sheet);
    void writeRows(Sheet& sheet);
    void writeWindow2(Sheet& sheet, bool first);
    void writeSelection();
    void writeValidations(Sheet& sheet);
    void patchOffset(uint64_t fieldPosition);

    bool biff8() const { return version_ >= ExcelVersion::Excel97; }
    bool vbaKept() const;
    int xfOffset() const;
    int biff4FormatBase() const;

    Workbook& book_;
    XlsStream stream_;
    ExcelVersion version_;
    bool unicode_ = false;
    // The code page of 8-bit texts before BIFF8: the workbook's, the ANSI one for UTF-16.
    platform::WindowsCodePage codePage_;
    // The one rule: a workbook written in the version it was read in carries through what
    // the writer does not make, substream by substream; the drawings too while they are as
    // read.
    bool carryThrough_ = false;
    bool drawingsAsRead_ = false;
    // A workbook read as BIFF5 written as BIFF8, or the other way: protection goes along.
    bool converting_ = false;
    KeptRecordWriter carried_;
    const KeptRecords* kept_ = nullptr;
    bool carrying_ = false;
    bool globals_ = false;
    int depth_ = 0;
    std::vector<std::pair<uint16_t, uint32_t>> written_;
    std::vector<Tab> tabs_;
    // BIFF8 drawings, by sheet.
    std::vector<SheetDrawing> drawings_;
    std::vector<uint32_t> drawingIds_;
    std::vector<uint32_t> firstShapeIds_;
    std::vector<DrawingWriter::Cluster> clusters_;
    uint32_t maxShapeId_ = 0;
    uint32_t shapesSaved_ = 0;
    uint32_t drawingsSaved_ = 0;
};

} // namespace xls
