#pragma once

#include "tests/listio/WriterTestSupport.h"

#include <string>
#include <variant>
#include <vector>

namespace quillan::test {

// A cell of a test workbook: text, or a number.
using CellValue = std::variant<std::string, double>;
using SheetRows = std::vector<std::vector<CellValue>>;

struct TestSheet {
    std::string name;
    SheetRows rows;
};

// Field dialog combo boxes and the column chosen in each.
using Roles = std::vector<std::pair<std::string, int>>;
// Opens the list, choosing these roles in the field dialog and pressing Finish.
std::string openWithRoles(ListFixture& f, const std::string& path, const Roles& roles);

// Writes a workbook of these sheets through the spreadsheet library: BIFF8 unless told
// otherwise (BIFF5, BIFF4 for one sheet).
void writeWorkbook(const std::string& path, const std::vector<TestSheet>& sheets, int biff = 8);

// An Excel 2.1 (biff 2) or 3.0 (biff 3) worksheet of text cells, built record by record: the
// library does not write those versions.
std::string oldWorksheet(const std::vector<std::vector<std::string>>& rows, int biff);

// Draws a line on an Excel 4.0 worksheet written by writeWorkbook: its OBJ record goes in
// before the sheet's EOF. The library reads such objects but does not write them.
void drawLineOnBiff4Sheet(const std::string& path);

// Every cell of every sheet as xlrd reads it, one line each: sheet, row, column, xlrd's cell
// type, value.
std::vector<std::string> xlrdCells(const std::string& path);

// An Access table "Table1" of nine Text (50) columns data1, data3 ... data10, holding these
// tab-separated records in its first columns, made by the fill tool.
std::string accessTable(const std::string& path, const std::vector<std::string>& tabRecords);

// The rows of an Access table as mdb-export writes them, the header line first.
std::vector<std::string> mdbExport(const std::string& path, const std::string& table);

// The cells of one line mdb-export wrote, quotes taken off.
std::vector<std::string> csvCells(const std::string& line);

std::string sha256Of(const std::string& path);

// Runs `attempt` where the folder cannot be written: as another user when this one is the
// superuser (who writes into read-only folders). The attempt's result, or -1 when that
// cannot be arranged.
int inReadOnlyFolder(const std::string& folder, const std::function<int()>& attempt);

// Writes the sort information back where the list (or only its folder) cannot be written:
// true when the write fails with one error box, which carries the read-only advice every kind
// of list gets when the list itself is read-only.
bool readOnlyWriteFails(WriterFixture& f, const std::string& path, bool listReadOnly);

} // namespace quillan::test
