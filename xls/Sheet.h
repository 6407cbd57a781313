#pragma once

#include "xls/Cell.h"
#include "xls/CellStorage.h"
#include "xls/ColumnFormats.h"
#include "xls/DataValidations.h"
#include "xls/ExcelVersion.h"
#include "xls/KeptRecords.h"
#include "xls/MergedCells.h"
#include "xls/Notes.h"
#include "xls/PrintSettings.h"
#include "xls/RecordStorage.h"
#include "xls/SheetPictures.h"
#include "xls/UnkeptShapes.h"
#include "xls/XlsCharts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class WindowsCodePage;
}

namespace xls {

class Sheets;
class SharedStringTable;
class XlsStream;

// A ROW record as read: the row, its used columns, height, option flags and format, and the
// four bytes between the height and the options that other writers fill.
struct RowRecord {
    uint16_t row = 0;
    uint16_t firstCol = 0;
    uint16_t lastColPlus1 = 0;
    uint16_t height = 0;
    uint16_t options = 0;
    uint16_t xf = 0;
    uint32_t reserved = 0;
};

// A sheet's window (WINDOW2) beyond the options the sheet names, and its zoom (SCL), as read;
// a new sheet's otherwise.
struct SheetWindow {
    // The other option bits: the sheet is selected (0x0200), shown as pages (0x0400), in
    // page break preview (0x0800), its panes frozen without a split (0x0100), ...
    uint16_t otherOptions = 0x04A0;
    bool read = false;
    // Where the window is scrolled to.
    uint16_t topRow = 0;
    uint16_t leftCol = 0;
    // The grid colour: a palette index in BIFF8 (64 the automatic one), else an RGB value.
    uint32_t gridColor = 0;
    uint16_t reserved = 0;
    uint16_t normalZoom = 100; // 0 stands for 100
    uint32_t trailing = 0;
    // The zoom of the sheet as read, and its SCL ratio: both go back while it is the same.
    uint16_t zoomRead = 0;
    uint16_t sclNumerator = 0;
    uint16_t sclDenominator = 0;
};

// A hyperlink of a cell: "description TAB target" as one text, and the cell's key. One read
// from a file keeps its record, which goes back as it was while text and cell are as read.
struct Hyperlink {
    std::string text;
    int32_t key = 0;
    std::string recordAsRead{};
    std::string textAsRead{};
};

// One worksheet: its cells and everything else that belongs to it. Columns run 0 to 255 and
// rows 0 to 65535; every call takes the column before the row.
class Sheet {
public:
    enum Option : uint16_t {
        Gridlines = 0x01,
        RowColHeadings = 0x02,
        Protected = 0x04,
        R1C1Mode = 0x08,
        Iteration = 0x10,
        ShowFormulas = 0x20,
        FrozenPanes = 0x40,
        ShowZeros = 0x80,
    };
    enum WorkspaceOption : uint8_t {
        ShowAutoBreaks = 0x01,
        ApplyStyles = 0x02,
        RowSumsBelow = 0x04,
        ColSumsRight = 0x08,
        FitToPage = 0x10,
        OutlineSymbols = 0x20,
    };

    Sheet(Sheets& owner, int id);
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;
    ~Sheet();

    Sheets& owner() const { return owner_; }
    // The position of the sheet in its workbook.
    int index() const;

    // The name as text in the ANSI code page, and as stored (a flagged string).
    std::string name() const;
    const std::string& flaggedName() const { return name_; }
    std::u16string wideName() const;
    // A name another sheet already has (compared exactly) is told in a message and not
    // taken. A text beginning with the byte 0 or 1 is taken as a flagged string as it stands.
    void setName(std::string_view text);

    // Cell access. A column outside 0 to 255 or a row outside 0 to 65535 raises RangeError.
    Cell* getCell(int col, int row);
    CellType getCellType(int col, int row);
    // The value of an integer cell, or of a float cell rounded half to even. Any other cell,
    // or none, raises "Cell is missing/is of wrong type"; a float that does not round into
    // 32 bits (infinities and NaN included) raises RangeError.
    int32_t getAsInteger(int col, int row);
    // The value as text: "" for a blank or missing cell, numbers in the shortest general
    // form with the locale's decimal separator, booleans as the workbook's true and false
    // texts, errors as "#N/A" and the like; formulas give their result, or their text
    // when the workbook shows formulas.
    std::string getAsString(int col, int row);
    // The same into a text the caller keeps, whose room is used again: reading a large
    // sheet cell by cell then costs no allocation per cell.
    void getAsString(int col, int row, std::string& text);
    // A text cell in place of whatever is there; it keeps the format of a cell it replaces.
    void setAsString(int col, int row, std::string_view text);

    // Typed setters; each replaces any cell at the place.
    void setBlank(int col, int row, int32_t xf);
    void setBoolean(int col, int row, bool value, int32_t xf);
    void setError(int col, int row, uint8_t ordinal, int32_t xf);
    void setInteger(int col, int row, int32_t value, int32_t xf);
    void setFloat(int col, int row, double value, int32_t xf);
    // 8-bit text in the ANSI code page, and UTF-16 text: both join the shared strings.
    void setString(int col, int row, std::string_view text, int32_t xf);
    void setWideString(int col, int row, std::u16string_view text, int32_t xf);
    // The same with formatting runs (4 bytes each: first character, font index).
    void setRichString(int col, int row, std::string_view text, std::string_view runs, int32_t xf);
    void setRichWideString(int col, int row, std::u16string_view text, std::string_view runs,
                           int32_t xf);
    // Compressed BIFF8 text: one byte a character of that code.
    void setCompressedString(int col, int row, std::string_view chars, int32_t xf);
    // A text already in the shared strings; raises "SST index out of range (%d:%d)".
    void setStringIndex(int col, int row, int32_t sstIndex, int32_t xf);
    // Formula cells with their tokens and cached result. The error result is a BIFF error
    // code, kept as its ordinal.
    void setNumberFormula(int col, int row, std::string_view tokens, int32_t xf, double result);
    void setStringFormula(int col, int row, std::string_view tokens, int32_t xf,
                          std::string result);
    void setBooleanFormula(int col, int row, std::string_view tokens, int32_t xf, bool result);
    void setErrorFormula(int col, int row, std::string_view tokens, int32_t xf, uint8_t errorCode);
    void setArrayFormula(int col, int row, std::string_view tokens, std::string_view arrayData,
                         int32_t xf, double result);

    // The formula of a formula cell as text, through the workbook's names and sheets.
    std::string formulaText(const Cell& cell) const;

    CellStorage& cells() { return cells_; }

    void addRowRecord(const RowRecord& row) { rowRecords_.push_back(row); }
    size_t rowRecordCount() const { return rowRecords_.size(); }
    const RowRecord& rowRecordAt(size_t index) const { return rowRecords_.at(index); }
    // The 16-byte ROW record body of a kept row.
    std::string rowRecordBody(size_t index) const;

    std::vector<Hyperlink>& hyperlinks() { return hyperlinks_; }
    PrintSettings& printSettings() { return printSettings_; }
    MergedCells& mergedCells() { return mergedCells_; }
    ColumnFormats& columnFormats() { return columnFormats_; }
    DataValidations& validations() { return validations_; }
    Notes& notes() { return notes_; }
    SheetPictures& sheetPictures() { return sheetPictures_; }
    XlsCharts& charts() { return charts_; }
    InFileCharts& inFileCharts() { return inFileCharts_; }
    // The NOTE records of a BIFF2 to BIFF5 file, kept as read and written back into those
    // versions as they are.
    RecordStorage& legacyNotes() { return legacyNotes_; }
    // The records of the sheet's substream that a write in the version read carries through
    // as they were (see KeptRecords).
    KeptRecords& keptRecords() { return keptRecords_; }
    const KeptRecords& keptRecords() const { return keptRecords_; }
    // The drawn objects read from the file that a write could not keep (text boxes, lines,
    // form controls, ...); while there are any the workbook is not written.
    UnkeptShapes& unkeptShapes() { return unkeptShapes_; }
    const UnkeptShapes& unkeptShapes() const { return unkeptShapes_; }

    // The used range: after a read what the file says (widened to the cells held), before a
    // write what the cells give. A value above 65535 raises RangeError.
    void calcDimensions();
    // Every cell, row, link, range and format of the sheet gone; print settings reset.
    void clear();

    uint16_t firstCol = 0xFFFF;
    uint16_t lastCol = 0;
    uint16_t firstRow = 0xFFFF;
    uint16_t lastRow = 0;

    uint16_t defaultColWidth = 8;
    uint16_t defaultRowHeight = 0;
    // The DEFAULTROWHEIGHT options as read (rows taller than their font, hidden, ...).
    std::optional<uint16_t> defaultRowOptions;
    uint16_t options = Gridlines | RowColHeadings | ShowZeros;
    uint8_t workspaceOptions = ShowAutoBreaks | RowSumsBelow | ColSumsRight | OutlineSymbols;
    // The WSBOOL bits the workspace options do not name, as read.
    uint16_t workspaceBits = 0;
    // The WSBOOL word of the workspace options and the other bits, and from one.
    uint16_t wsBoolWord() const;
    void setWsBoolWord(uint16_t word);
    SheetWindow window;
    // The WINDOW2 option word of the options above and the window's other bits, and from one.
    uint16_t windowOptionWord() const;
    void setWindowOptionWord(uint16_t word);
    uint16_t calcCount = 100;
    double delta = 0.001;
    uint16_t zoom = 100;
    uint16_t zoomPreview = 100;
    bool recalcFormulas = true;
    uint16_t fixedRows = 0;
    uint8_t fixedCols = 0;
    uint16_t gridSet = 0;
    std::array<uint16_t, 4> guts{}; // row gutter, column gutter, row levels, column levels

    std::string codeName;       // the sheet's name in macros (CODENAME), as read
    std::string codeNameAsRead; // the same as a flagged string, from a BIFF8 file
    // As the workbook's sheet directory says: 0 visible, 1 hidden, 2 very hidden (shown
    // only by macros); and the kind of sheet (0 worksheet or dialog, 1 macro sheet, 6 module),
    // with the type of its substream.
    uint8_t visibility = 0;
    uint8_t sheetKind = 0;
    uint16_t substreamType = 0x0010;

    bool has(Option option) const { return (options & option) != 0; }
    void setOption(Option option, bool on);

    // Record writers of the workbook writer: every cell in key order, the hyperlinks and the
    // merged ranges. xfOffset is added to each cell's format (the built-in formats that go
    // ahead of a new workbook's own); with `unicode` texts are written as UTF-16. Before
    // BIFF8 texts go in the code page of the file; one it cannot hold, or one longer than a
    // cell of those versions holds, raises XlsError naming the cell.
    void writeCells(ExcelVersion version, XlsStream& stream, int xfOffset, bool unicode,
                    const platform::WindowsCodePage& codePage);
    void writeHyperlinks(XlsStream& stream) const;
    void writeMergedCells(XlsStream& stream, int maxRecordSize) const;
    // The format index written for a cell: 15 (the default cell format) for none given.
    static uint16_t writtenXf(int32_t xf, int xfOffset);

private:
    SharedStringTable& strings() const;
    // The text getAsString gives for a cell (null for none).
    std::string valueText(const Cell* cell) const;
    void writeFormula(ExcelVersion version, XlsStream& stream, const Cell& cell, uint16_t xf,
                      bool unicode, const platform::WindowsCodePage& codePage);
    // The 8-bit text of a cell in the code page, or the reason why there is none.
    std::optional<std::string> narrowRuns(int32_t sstIndex, size_t length) const;
    std::string text8Of(const Cell& cell, std::u16string_view text, ExcelVersion version,
                        const platform::WindowsCodePage& codePage) const;
    void writeStringRecord(XlsStream& stream, const std::string& flagged);
    void storeFormula(CellType type, int col, int row, std::string_view tokens, int32_t xf);

    Sheets& owner_;
    std::string name_;
    CellStorage cells_;
    PrintSettings printSettings_;
    MergedCells mergedCells_;
    ColumnFormats columnFormats_;
    DataValidations validations_;
    Notes notes_;
    SheetPictures sheetPictures_;
    XlsCharts charts_;
    InFileCharts inFileCharts_;
    RecordStorage legacyNotes_;
    UnkeptShapes unkeptShapes_;
    KeptRecords keptRecords_;
    std::vector<Hyperlink> hyperlinks_;
    std::vector<RowRecord> rowRecords_;
};

} // namespace xls
