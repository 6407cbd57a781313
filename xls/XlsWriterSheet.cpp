// The workbook writer's sheet substreams: the records ahead of the cells and behind them.

#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsUtils.h"
#include "xls/XlsWriter.h"

namespace xls {

namespace {

constexpr uint16_t WorksheetType = 0x0010;
constexpr size_t MaxBreaks = 1025;

uint16_t calcModeCode(CalcMode mode) {
    switch (mode) {
    case CalcMode::Manual:
        return 0;
    case CalcMode::AutoExTables:
        return 0xFFFF;
    default:
        return 1;
    }
}

} // namespace

void XlsWriter::writeSheet(const Tab& tab) {
    Sheet& sheet = book_.sheets().item(tab.index);
    patchOffset(tab.field);
    writeSheetHeader(sheet);
    sheet.writeCells(version_, stream_, xfOffset(), unicode_, codePage_);
    writeSheetTrailer(sheet);
}

void XlsWriter::writeChartSheet(const Tab& tab) {
    patchOffset(tab.field);
    InFileChart& chart = book_.inFileCharts().item(tab.index);
    beginSubstream(0x0020, nullptr, false, carryThrough_ ? chart.bof : std::string());
    chart.records.writeAll(stream_);
    writeEof();
}

void XlsWriter::writeSheetHeader(Sheet& sheet) {
    beginSubstream(carryThrough_ ? sheet.substreamType : WorksheetType, &sheet.keptRecords(),
                   false);
    writeCalculation(sheet);
    writeSheetLayout(sheet);
    writeWsBool(sheet);
    writePageBreaks(sheet);
    writePrintRecords(sheet);
    if (!carrying_ || sheet.has(Sheet::Protected) || holds(record::Protect))
        writeWord(record::Protect, sheet.has(Sheet::Protected) ? 1 : 0);
    if (sheet.defaultColWidth != 0)
        writeWord(record::DefColWidth, sheet.defaultColWidth);
    writeColumnFormats(sheet);
    writeDimensions(sheet);
    writeRows(sheet);
}

void XlsWriter::writeRows(Sheet& sheet) {
    for (size_t i = 0; i < sheet.rowRecordCount(); ++i)
        writeRecord(record::Row, std::string_view(sheet.rowRecordBody(i)));
}

void XlsWriter::writeSheetTrailer(Sheet& sheet) {
    if (biff8() && !drawingsAsRead_)
        writeDrawingObjects(static_cast<size_t>(book_.sheets().indexOf(sheet)));
    else
        for (size_t i = 0; i < sheet.legacyNotes().count(); ++i)
            writeRecord(sheet.legacyNotes().item(i).id,
                        std::string_view(sheet.legacyNotes().item(i).body));
    if (version_ == ExcelVersion::Excel50)
        writeWindow1(); // a BIFF5 worksheet carries its own
    writeWindow2(sheet, book_.sheets().indexOf(sheet) == 0);
    if (carrying_ ? holds(record::Scl) : sheet.zoom != 0 && sheet.zoom != 100) {
        const SheetWindow& window = sheet.window;
        bool asRead = sheet.zoom == window.zoomRead && window.sclDenominator != 0;
        RecordBody scale;
        scale.u16(asRead ? window.sclNumerator : sheet.zoom);
        scale.u16(asRead ? window.sclDenominator : 100);
        writeRecord(record::Scl, scale);
    }
    if (sheet.fixedRows != 0 || sheet.fixedCols != 0) {
        RecordBody pane;
        pane.u16(sheet.fixedCols).u16(sheet.fixedRows).u16(sheet.fixedRows).u16(sheet.fixedCols);
        pane.u16(3);
        writeRecord(record::Pane, pane);
    }
    writeSelection();
    // Macros know a sheet without a code name of its own by its name.
    bool byName = sheet.codeName.empty() && vbaKept();
    std::string codeName = byName ? sheet.name() : sheet.codeName;
    if (!codeName.empty() || holds(record::CodeName))
        writeCodeName(codeName, byName ? sheet.flaggedName() : sheet.codeNameAsRead);
    if (biff8()) {
        writeValidations(sheet);
        sheet.writeHyperlinks(stream_);
        if (sheet.mergedCells().count() > 0 || !sheet.mergedCells().recordSizes.empty())
            sheet.writeMergedCells(stream_, book_.maxRecordSize());
    }
    writeEof();
}

void XlsWriter::writeCalculation(Sheet& sheet) {
    const OptionsDialog& options = book_.optionsDialog();
    writeWord(record::CalcMode,
              options.unnamedCalcMode.wordFor(options.calcMode, calcModeCode(options.calcMode)));
    writeWord(record::CalcCount, sheet.calcCount);
    writeWord(record::RefMode, sheet.has(Sheet::R1C1Mode) ? 0 : 1);
    writeWord(record::Iteration, sheet.has(Sheet::Iteration) ? 1 : 0);
    RecordBody delta;
    delta.f64(sheet.delta);
    writeRecord(record::Delta, delta);
    writeWord(record::SaveRecalc, book_.saveRecalc ? 1 : 0);
}

void XlsWriter::writeSheetLayout(Sheet& sheet) {
    uint16_t options = sheet.printSettings().options;
    writeWord(record::PrintHeaders, (options & PrintSettings::RowColHeading) ? 1 : 0);
    writeWord(record::PrintGridlines, (options & PrintSettings::Gridlines) ? 1 : 0);
    writeWord(record::GridSet, sheet.gridSet);
    RecordBody guts;
    for (uint16_t value : sheet.guts)
        guts.u16(value);
    writeRecord(record::Guts, guts);
    RecordBody height;
    if (sheet.defaultRowOptions)
        height.u16(*sheet.defaultRowOptions).u16(sheet.defaultRowHeight);
    else if (sheet.defaultRowHeight != 0)
        height.u16(1).u16(sheet.defaultRowHeight);
    else
        height.u16(0).u16(255);
    writeRecord(record::DefaultRowHeight, height);
}

void XlsWriter::writeWsBool(Sheet& sheet) {
    writeWord(record::WsBool, sheet.wsBoolWord());
}

void XlsWriter::writePageBreaks(Sheet& sheet) {
    const PrintSettings& print = sheet.printSettings();
    auto write = [&](uint16_t id, size_t count, auto entry) {
        if (count == 0 && !holds(id))
            return;
        if (biff8() && count > MaxBreaks)
            throw RangeError();
        RecordBody body;
        body.u16(count);
        for (size_t i = 0; i < count; ++i)
            entry(body, i);
        if (body.size() > 65534)
            throw RangeError();
        writeRecord(id, body);
    };
    write(record::HorizontalPageBreaks, print.horizPagebreaks.size(), [&](RecordBody& b, size_t i) {
        const HorizPagebreak& brk = print.horizPagebreaks[i];
        b.u16(static_cast<int64_t>(brk.row) + 1);
        if (biff8())
            b.u16(static_cast<int64_t>(brk.col1) + 1).u16(static_cast<int64_t>(brk.col2) + 1);
    });
    write(record::VerticalPageBreaks, print.vertPagebreaks.size(), [&](RecordBody& b, size_t i) {
        const VertPagebreak& brk = print.vertPagebreaks[i];
        b.u16(static_cast<int64_t>(brk.col) + 1);
        if (biff8())
            b.u16(static_cast<int64_t>(brk.row1) + 1).u16(static_cast<int64_t>(brk.row2) + 1);
    });
}

void XlsWriter::writeHeaderFooter(uint16_t id, const std::string& text, const std::string& asRead) {
    RecordBody body;
    if (!text.empty()) {
        if (biff8()) {
            std::string flagged = flaggedAsRead(asRead, text, unicode_);
            body.u16(xlsStringCount(flagged)).bytes(flagged);
        } else {
            body.u8(text.size()).bytes(text);
        }
    }
    writeRecord(id, body);
}

void XlsWriter::writePrintRecords(Sheet& sheet) {
    const PrintSettings& print = sheet.printSettings();
    writeHeaderFooter(record::Header, print.header(), print.headerAsRead());
    writeHeaderFooter(record::Footer, print.footer(), print.footerAsRead());
    writeWord(record::HCenter, (print.options & PrintSettings::HorizCenter) ? 1 : 0);
    writeWord(record::VCenter, (print.options & PrintSettings::VertCenter) ? 1 : 0);
    if (biff8() && book_.hasPrinterDevMode()) {
        RecordBody pls;
        pls.u16(0).bytes(*book_.defaultPrinterDevMode());
        writeRecord(record::Pls, pls);
    }
    const std::pair<uint16_t, double> margins[] = {{record::LeftMargin, print.marginLeft},
                                                   {record::RightMargin, print.marginRight},
                                                   {record::TopMargin, print.marginTop},
                                                   {record::BottomMargin, print.marginBottom}};
    for (const auto& [id, margin] : margins) {
        if (margin < 0)
            continue;
        RecordBody body;
        body.f64(margin);
        writeRecord(id, body);
    }
    writeSetup(sheet);
}

void XlsWriter::writeSetup(Sheet& sheet) {
    const PrintSettings& print = sheet.printSettings();
    RecordBody body;
    body.u16(static_cast<int>(print.paperSize)).u16(print.scalingFactor).u16(print.startingPage);
    body.u16(print.fitWidth).u16(print.fitHeight).u16(print.setupOptionWord());
    body.u16(print.resolution).u16(print.verticalResolution);
    body.f64(print.headerMargin).f64(print.footerMargin).u16(print.copies);
    writeRecord(record::Setup, body);
}

void XlsWriter::writeColumnFormats(Sheet& sheet) {
    ColumnFormats& columns = sheet.columnFormats();
    for (size_t i = 0; i < columns.count(); ++i) {
        const ColumnFormat& column = columns.item(i);
        RecordBody body;
        body.u16(column.col1()).u16(column.col2()).u16(column.width());
        body.u16(static_cast<int64_t>(column.formatIndex()) + xfOffset());
        body.u16(column.optionWord()).u16(column.reserved);
        writeRecord(record::ColInfo, body);
    }
}

// An empty sheet claims no cell at all.
void XlsWriter::writeDimensions(Sheet& sheet) {
    sheet.cells().beginIterate();
    bool empty = sheet.cells().nextCell() == nullptr;
    int64_t firstRow = empty ? 0 : sheet.firstRow;
    int64_t rowAfter = empty ? 0 : static_cast<int64_t>(sheet.lastRow) + 1;
    int64_t firstCol = empty ? 0 : sheet.firstCol;
    int64_t colAfter = empty ? 0 : static_cast<int64_t>(sheet.lastCol) + 1;
    RecordBody body;
    if (biff8())
        body.u32(firstRow).u32(rowAfter);
    else
        body.u16(firstRow).u16(rowAfter);
    body.u16(firstCol).u16(colAfter).u16(0);
    writeRecord(record::Dimensions, body);
}

// A sheet read in the version written keeps its grid colour; the first of a new workbook's
// sheets is the one selected.
void XlsWriter::writeWindow2(Sheet& sheet, bool first) {
    const SheetWindow& window = sheet.window;
    uint16_t options = sheet.windowOptionWord();
    if (first && !window.read)
        options = static_cast<uint16_t>(options | 0x0200);
    bool ownColor = window.read && sheet.keptRecords().read && carryThrough_;
    RecordBody body;
    body.u16(options).u16(window.topRow).u16(window.leftCol);
    if (!biff8()) {
        body.u32(ownColor ? window.gridColor : 0);
        return writeRecord(record::Window2, body);
    }
    uint16_t normalZoom =
        sheet.zoom == window.zoomRead && window.read ? window.normalZoom : sheet.zoom;
    body.u16(ownColor ? window.gridColor : 64).u16(window.reserved);
    body.u16(sheet.zoomPreview).u16(normalZoom).u32(window.trailing);
    writeRecord(record::Window2, body);
}

void XlsWriter::writeSelection() {
    RecordBody body;
    body.u8(3).u16(0).u16(0).u16(0).u16(1).zeros(6);
    writeRecord(record::Selection, body);
}

// Only validations that cover cells are written; DVAL counts those.
void XlsWriter::writeValidations(Sheet& sheet) {
    DataValidations& validations = sheet.validations();
    size_t withAreas = 0;
    for (size_t i = 0; i < validations.count(); ++i)
        withAreas += validations.item(i).areas.empty() ? 0 : 1;
    if (withAreas == 0)
        return;
    const DataValidations::Window& window = validations.window;
    RecordBody dval;
    dval.u16(window.options).u32(window.left).u32(window.top).u32(window.objectId);
    dval.u32(static_cast<int64_t>(withAreas));
    writeRecord(record::DVal, dval);
    for (size_t i = 0; i < validations.count(); ++i)
        if (!validations.item(i).areas.empty())
            writeRecord(record::Dv, std::string_view(validations.item(i).recordBody(unicode_)));
}

} // namespace xls
