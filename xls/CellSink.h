#pragma once

namespace xls {

class Cell;
class Sheet;

// Takes the cells of a workbook as they are read, in the order of the file's records,
// instead of the sheets' cell stores: a large workbook can be gone through without holding
// its cells (a dump of it, say). Everything else of a sheet is read as always.
class CellSink {
public:
    virtual ~CellSink() = default;
    // A sheet's records begin; its name is known.
    virtual void sheetBegins(Sheet& sheet) = 0;
    // A cell of that sheet, whole (a formula with its result). A cell the file gives twice
    // comes twice; the later one stands.
    virtual void cell(const Cell& cell) = 0;
    // The sheet's records are read: its used range (widened to its cells), merged ranges and
    // notes are there.
    virtual void sheetEnds(Sheet& sheet) = 0;
};

} // namespace xls
