// The workbook reader on hand-made record streams: substreams and sheets, cell records of
// every layout, formulas with their follow-up records, sheet and workbook records, and
// damaged input.

#include "platform/storage/StorageError.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsReader.h"
#include "xls/XlsUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tuple>

using namespace xls;
using namespace xls::test;

namespace {

std::string doubleBytes(double value) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

std::string cellHead(int row, int col, int xf = 0) {
    return word(static_cast<uint16_t>(row)) + word(static_cast<uint16_t>(col)) +
           word(static_cast<uint16_t>(xf));
}

std::string numberRecord(int row, int col, double value, int xf = 0) {
    return record(0x0203, cellHead(row, col, xf) + doubleBytes(value));
}

std::string labelRecord(int row, int col, const std::string& text) {
    return record(0x0204, cellHead(row, col) + word(static_cast<uint16_t>(text.size())) +
                              std::string(1, '\0') + text);
}

// A BIFF8 FORMULA: result bytes, options, the tokens.
std::string formulaRecord(int row, int col, const std::string& result, const std::string& tokens,
                          uint16_t options = 0) {
    return record(0x0006, cellHead(row, col) + result + word(options) + dword(0) +
                              word(static_cast<uint16_t>(tokens.size())) + tokens);
}

std::string specialResult(uint8_t kind, uint8_t value = 0) {
    return std::string(1, static_cast<char>(kind)) + std::string(1, '\0') +
           std::string(1, static_cast<char>(value)) + std::string(3, '\0') + "\xFF\xFF";
}

std::string stringRecord(const std::string& text) {
    return record(0x0207, word(static_cast<uint16_t>(text.size())) + std::string(1, '\0') + text);
}

const std::string IntFive = std::string("\x1E\x05\x00", 3);

template <typename Work>
std::string errorOf(Work work) {
    try {
        work();
    } catch (const XlsError& e) {
        return e.what();
    }
    return "no error";
}

// Reads a BIFF8 workbook stream through a compound file.
void readBook(Workbook& book, const std::string& stream) {
    book.readBytes(compoundFile(stream));
}

std::string oneSheet(const std::string& cells, const std::string& globals = "") {
    return biff8Sheets(globals, {{"S", cells}});
}

} // namespace

TEST(ReaderTest, TheFirstRecordMustBeAFittingBof) {
    Workbook book;
    std::string big = record(0x0809, std::string(300, '\0'));
    EXPECT_EQ(errorOf([&] { readBook(book, big + record(0x000A, "")); }), "Invalid BOF size");
    EXPECT_EQ(errorOf([&] { readBook(book, record(0x0203, "") + bof8(5)); }),
              "BOF is missing in file");
    // A plain file holding a BIFF8 stream, and any plain file that is no workbook.
    EXPECT_EQ(errorOf([&] { book.readBytes(oneSheet("")); }), "File is not a Excel Workbook");
    EXPECT_EQ(errorOf([&] { book.readBytes("plain text, not a workbook"); }),
              "BOF is missing in file");
    // A BIFF4 workbook holds its sheets in substreams that are not read.
    std::string biff4Workbook =
        record(0x0409, word(0) + word(0x0100) + word(0)) + record(0x000A, "");
    EXPECT_EQ(errorOf([&] { book.readBytes(biff4Workbook); }), "unsupported BIFF4 workbook");
}

TEST(ReaderTest, SubstreamsBecomeSheetsInBoundsheetOrder) {
    std::string embeddedChart = bof8(0x0020) + numberRecord(0, 0, 99) + record(0x000A, "");
    std::string stream =
        biff8Sheets("", {{"A", numberRecord(0, 0, 1) + embeddedChart + numberRecord(1, 0, 2)},
                         {"C", record(0x1002, std::string(16, '\0')), 0x0020},
                         {"B", numberRecord(0, 0, 3)}});
    Workbook book;
    readBook(book, stream);
    ASSERT_EQ(book.sheets().count(), 2u);
    EXPECT_EQ(book.sheets().item(0).name(), "A");
    EXPECT_EQ(book.sheets().item(1).name(), "B");
    Sheet& a = book.sheets().item(0);
    EXPECT_EQ(a.getAsString(0, 0), "1");
    EXPECT_EQ(a.getAsString(0, 1), "2"); // the worksheet goes on after its chart
    EXPECT_EQ(book.sheets().item(1).getAsString(0, 0), "3");
    EXPECT_EQ(book.inFileCharts().count(), 1u);
    EXPECT_FALSE(book.isDefaultWorkbook);
    EXPECT_EQ(book.version(), ExcelVersion::Excel97);

    // A sheet substream with no BOUNDSHEET left keeps a name of its own.
    std::string extra = oneSheet(numberRecord(0, 0, 1)) + bof8(0x0010) + record(0x000A, "");
    Workbook unnamed;
    readBook(unnamed, extra);
    EXPECT_EQ(unnamed.sheets().count(), 1u); // the read ends with the last named sheet
}

TEST(ReaderTest, NumbersOfEveryLayout) {
    EXPECT_EQ(XlsReader::decodeRk(static_cast<uint32_t>(-8) | 2), -2);
    EXPECT_EQ(XlsReader::decodeRk(400 | 3), 1.0);
    EXPECT_EQ(XlsReader::decodeRk(0x3FF00000), 1.0);
    EXPECT_EQ(XlsReader::decodeRk(0x3FF00001), 0.01);

    std::string cells = record(0x027E, cellHead(0, 0, 3) + dword(static_cast<uint32_t>(-8) | 2)) +
                        record(0x00BD, cellHead(1, 0)) + // no entries
                        record(0x00BD, word(2) + word(4) + word(5) + dword(4 | 2) + word(6) +
                                           dword(8 | 2) + word(5)) +
                        numberRecord(3, 1, 2.5, 7) + record(0x0201, cellHead(3, 2, 9)) +
                        record(0x00BE, word(4) + word(1) + word(1) + word(2) + word(3) + word(3)) +
                        record(0x0205, cellHead(5, 0) + std::string("\x2A\x01", 2)) +
                        record(0x0205, cellHead(5, 1) + std::string("\x10\x01", 2)) +
                        record(0x0205, cellHead(5, 2) + std::string("\x01\x00", 2));
    Workbook book;
    readBook(book, oneSheet(cells));
    Sheet& s = book.sheets().item(0);
    EXPECT_EQ(s.getAsString(0, 0), "-2");
    EXPECT_EQ(s.getCell(0, 0)->xf(), 3);
    EXPECT_EQ(s.getCellType(0, 1), CellType::None);
    EXPECT_EQ(s.getAsString(4, 2), "1");
    EXPECT_EQ(s.getAsString(5, 2), "2");
    EXPECT_EQ(s.getCell(5, 2)->xf(), 6);
    EXPECT_EQ(s.getCellType(6, 2), CellType::None);
    EXPECT_EQ(s.getAsInteger(1, 3), 2);
    EXPECT_EQ(s.getCellType(2, 3), CellType::Blank);
    for (int col = 1; col <= 3; ++col)
        EXPECT_EQ(s.getCellType(col, 4), CellType::Blank) << col;
    EXPECT_EQ(s.getCell(3, 4)->xf(), 3);
    EXPECT_EQ(s.getAsString(0, 5), "#N/A");
    EXPECT_EQ(s.getCell(1, 5)->errorOrdinal(), 0);
    EXPECT_EQ(s.getAsString(2, 5), "TRUE");
}

TEST(ReaderTest, TextsKeepTheirCharacters) {
    std::u16string greek = u"\u03B1\u03B2";
    std::string wide = record(0x0204, cellHead(0, 1) + word(2) + std::string(1, '\x01') +
                                          std::string("\xB1\x03\xB2\x03", 4));
    std::string sst =
        record(0x00FC, dword(2) + dword(2) + word(3) + std::string(1, '\0') + "one" + word(2) +
                           std::string(1, '\x01') + std::string("\xB1\x03\xB2\x03", 4));
    std::string cells = labelRecord(0, 0, "caf\xE9") + wide +
                        record(0x00FD, cellHead(1, 0) + dword(1)) +
                        record(0x00FD, cellHead(1, 1) + dword(0));
    Workbook book;
    readBook(book, oneSheet(cells, sst));
    Sheet& s = book.sheets().item(0);
    SharedStringTable& strings = book.sheets().strings();
    EXPECT_EQ(s.getAsString(0, 0), "caf\xE9");
    EXPECT_EQ(strings.getWideString(s.getCell(1, 0)->sstIndex()), greek);
    EXPECT_EQ(strings.getWideString(s.getCell(0, 1)->sstIndex()), greek);
    EXPECT_EQ(s.getAsString(1, 1), "one");

    std::string beyond = record(0x00FD, cellHead(2, 0) + dword(5));
    Workbook bad;
    EXPECT_EQ(errorOf([&] { readBook(bad, oneSheet(cells + beyond, sst)); }),
              "Error on reading record # 10: SST index out of range (5:3)");
    EXPECT_EQ(bad.sheets().item(0).getAsString(0, 0), "caf\xE9"); // what was read stays
}

TEST(ReaderTest, FormulasWithTheirFollowingRecords) {
    std::string sharedTokens = std::string("\x4C", 1) + word(0) + word(0xC000 | 0xFF); // left
    std::string cells =
        formulaRecord(0, 0, doubleBytes(5), IntFive) +
        formulaRecord(0, 1, specialResult(0), IntFive) + stringRecord("text") +
        formulaRecord(0, 2, specialResult(1, 1), IntFive) +
        formulaRecord(0, 3, specialResult(2, 0x07), IntFive) +
        formulaRecord(0, 4, specialResult(3), IntFive) +
        formulaRecord(0, 5, specialResult(0), IntFive) + labelRecord(0, 6, "no STRING") +
        formulaRecord(1, 1, doubleBytes(5), std::string("\x01", 1) + word(1) + word(1), 0x0008) +
        record(0x04BC, word(1) + word(2) + std::string("\x01\x01", 2) + word(0) +
                           word(static_cast<uint16_t>(sharedTokens.size())) + sharedTokens) +
        formulaRecord(2, 1, specialResult(0), std::string("\x01", 1) + word(1) + word(1), 0x0008) +
        stringRecord("shared") +
        formulaRecord(3, 0, doubleBytes(7), std::string("\x01", 1) + word(3) + word(0)) +
        record(0x0221, word(3) + word(3) + std::string("\0\0", 2) + word(0) + dword(0) + word(3) +
                           IntFive) +
        formulaRecord(4, 0, doubleBytes(1), "");
    Workbook book;
    readBook(book, oneSheet(cells));
    Sheet& s = book.sheets().item(0);
    EXPECT_EQ(s.getCellType(0, 0), CellType::NumberFormula);
    EXPECT_EQ(s.getAsString(0, 0), "5");
    EXPECT_EQ(s.getAsString(1, 0), "text");
    EXPECT_EQ(s.getAsString(2, 0), "TRUE");
    EXPECT_EQ(s.getAsString(3, 0), "#DIV/0!");
    EXPECT_EQ(s.getCellType(4, 0), CellType::StringFormula);
    EXPECT_EQ(s.getAsString(4, 0), "");
    EXPECT_EQ(s.getCellType(5, 0), CellType::None); // a text result without its STRING
    EXPECT_EQ(s.getAsString(6, 0), "no STRING");
    EXPECT_EQ(s.getCellType(0, 3), CellType::ArrayFormula);
    EXPECT_EQ(s.getAsString(0, 3), "7");
    EXPECT_EQ(s.getCellType(0, 4), CellType::None); // no tokens, no cell

    EXPECT_EQ(s.getAsString(1, 2), "shared");
    book.showFormulas = true;
    EXPECT_EQ(s.getAsString(1, 1), "A2"); // the shared formula, adjusted to its cell
    EXPECT_EQ(s.getAsString(1, 2), "A3");
    EXPECT_EQ(s.getAsString(0, 0), "5");
}

TEST(ReaderTest, LongStringResultsGoOnInContinueRecords) {
    std::string text(10000, 'x');
    std::string wideRest;
    for (size_t i = 8221; i < 10000; ++i)
        wideRest += std::string("y\0", 2);
    std::string cells = formulaRecord(0, 0, specialResult(0), IntFive) +
                        record(0x0207, word(10000) + std::string(1, '\0') + text.substr(0, 8221)) +
                        record(0x003C, std::string(1, '\x01') + wideRest) + numberRecord(1, 0, 1);
    Workbook book;
    readBook(book, oneSheet(cells));
    std::string result = book.sheets().item(0).getAsString(0, 0);
    EXPECT_EQ(result, text.substr(0, 8221) + std::string(10000 - 8221, 'y'));
    EXPECT_EQ(book.sheets().item(0).getAsString(0, 1), "1");
}

TEST(ReaderTest, SheetSettings) {
    std::string cells =
        record(0x000C, word(50)) + record(0x000F, word(0)) + record(0x0011, word(1)) +
        record(0x002B, word(1)) +
        record(0x00A1, word(1) + word(80) + word(3) + word(1) + word(1) + word(0x0002) + word(600) +
                           word(600) + doubleBytes(0.4) + doubleBytes(0.6) + word(2)) +
        record(0x0026, doubleBytes(1.5)) + record(0x0014, word(2) + std::string(1, '\0') + "hd") +
        record(0x0014 + 1, "") + record(0x001B, word(1) + word(10) + word(1) + word(256)) +
        record(0x007D, word(1) + word(3) + word(3000) + word(15) + word(0x0101) + word(0)) +
        record(0x023E,
               word(0x0002) + word(0) + word(0) + dword(64) + word(60) + word(75) + dword(0)) +
        record(0x00A0, word(3) + word(0)) + record(0x0041, word(0x1CE3) + word(0x0100)) +
        record(0x00E5, word(1) + word(0) + word(1) + word(0) + word(2)) +
        record(0x0200, dword(0) + dword(10) + word(0) + word(3) + word(0));
    Workbook book;
    book.optionsDialog().calcMode = CalcMode::Manual;
    readBook(book, oneSheet(cells, record(0x000D, word(2))));
    EXPECT_EQ(book.optionsDialog().calcMode, CalcMode::Manual); // CALCMODE 2 changes nothing
    Sheet& s = book.sheets().item(0);
    EXPECT_EQ(s.calcCount, 50);
    EXPECT_TRUE(s.has(Sheet::R1C1Mode)); // REFMODE 0 and WINDOW2 after it
    EXPECT_TRUE(s.has(Sheet::Iteration));
    EXPECT_FALSE(s.has(Sheet::RowColHeadings));
    PrintSettings& print = s.printSettings();
    EXPECT_TRUE(print.options & PrintSettings::Gridlines); // SETUP keeps PRINTGRIDLINES
    EXPECT_EQ(print.paperSize, PaperSize::Letter);
    EXPECT_EQ(print.scalingFactor, 80);
    EXPECT_EQ(print.copies, 2);
    EXPECT_EQ(print.marginLeft, 1.5);
    EXPECT_EQ(print.marginTop, -1);
    EXPECT_EQ(print.header(), "hd");
    ASSERT_EQ(print.horizPagebreaks.size(), 1u);
    EXPECT_EQ(print.horizPagebreaks[0].row, 9);
    EXPECT_EQ(print.horizPagebreaks[0].col2, 255);
    ASSERT_EQ(s.columnFormats().count(), 1u);
    EXPECT_EQ(s.columnFormats().item(0).width(), 3000);
    EXPECT_TRUE(s.columnFormats().item(0).hidden);
    EXPECT_EQ(s.columnFormats().item(0).outlineLevel(), 1);
    EXPECT_EQ(s.zoom, 100);       // SCL 3/0 is taken as 100 %
    EXPECT_EQ(s.zoomPreview, 60); // from WINDOW2
    EXPECT_EQ(s.fixedCols, 0);    // a split in twips, not frozen panes
    ASSERT_EQ(s.mergedCells().count(), 1u);
    EXPECT_EQ(s.mergedCells().item(0).col2, 2);
    EXPECT_EQ(s.lastRow, 9);
    EXPECT_EQ(s.lastCol, 2);
}

TEST(ReaderTest, DimensionsCoverTheCellsHeld) {
    std::string cells = record(0x0200, dword(0) + dword(10) + word(0) + word(1) + word(0));
    for (int row = 0; row < 50; ++row)
        cells += numberRecord(row, row % 3, row);
    Workbook book;
    readBook(book, oneSheet(cells));
    EXPECT_EQ(book.sheets().item(0).lastRow, 49);
    EXPECT_EQ(book.sheets().item(0).lastCol, 2);

    Workbook without;
    readBook(without, oneSheet(numberRecord(4, 7, 1)));
    EXPECT_EQ(without.sheets().item(0).lastRow, 4);
    EXPECT_EQ(without.sheets().item(0).lastCol, 7);
    EXPECT_EQ(without.sheets().item(0).firstCol, 7);

    Workbook empty;
    readBook(empty, oneSheet(record(0x0200, dword(0) + dword(0) + word(0) + word(0) + word(0))));
    EXPECT_EQ(empty.sheets().item(0).lastRow, 0);
}

TEST(ReaderTest, WorkbookRecords) {
    std::string fonts;
    for (int i = 1; i <= 5; ++i) {
        std::string name = "F" + std::to_string(i);
        fonts += record(0x0031, word(static_cast<uint16_t>(200 * i)) + word(0x0002) + word(10) +
                                    word(i == 2 ? 700 : 400) + word(i == 3 ? 1 : 0) +
                                    std::string(1, i == 5 ? '\x21' : '\0') + std::string(3, '\0') +
                                    std::string(1, static_cast<char>(name.size())) +
                                    std::string(1, '\0') + name);
    }
    std::string palette = word(70);
    for (int i = 0; i < 70; ++i)
        palette += std::string{static_cast<char>(i), 1, 2, 0};
    std::string globals =
        fonts + record(0x0092, palette) +
        record(0x041E, word(164) + word(4) + std::string(1, '\0') + "0.0%") +
        record(0x0293, word(0x8000) + std::string("\x00\xFF", 2)) +
        record(0x0293, word(0x0011) + std::string("\x01\x00", 2)) + record(0x0042, word(1252)) +
        record(0x0022, word(1)) +
        record(0x003D, word(1) + word(2) + word(3) + word(4) + word(0x0038) + word(1) + word(0) +
                           word(1) + word(600)) +
        record(0x008C, word(1) + word(49)) +
        record(0x005C, word(4) + std::string(1, '\0') + "User" + std::string(105, ' '));
    Workbook book;
    readBook(book, oneSheet("", globals));
    XFonts& read = book.fonts();
    ASSERT_EQ(read.count(), 6u);
    EXPECT_EQ(read.item(0).name, "F1");
    EXPECT_EQ(read.item(3).name, "F4");
    EXPECT_EQ(read.item(4).name, "Arial"); // the placeholder for the missing font 4
    EXPECT_EQ(read.item(5).name, "F5");
    EXPECT_EQ(read.item(1).size, 20);
    EXPECT_TRUE(read.item(1).has(XFont::Bold));
    EXPECT_TRUE(read.item(0).has(XFont::Italic));
    EXPECT_EQ(read.item(2).subSuperScript, SubSuperScript::Superscript);
    EXPECT_EQ(read.item(5).underline, Underline::SingleAccount);
    EXPECT_EQ(book.palette()[8], (platform::Color{0, 1, 2}));
    EXPECT_EQ(book.palette()[63], (platform::Color{55, 1, 2}));
    EXPECT_EQ(book.palette()[64], defaultPalette()[64]);
    EXPECT_EQ(book.palette()[7], defaultPalette()[7]);
    EXPECT_EQ(book.formats().numberFormatText(164), "0.0%");
    EXPECT_EQ(book.formats().count(), 1u);
    EXPECT_EQ(book.styles().count(), 1u); // only the built-in style is kept
    EXPECT_EQ(book.codepage(), 1252);
    EXPECT_TRUE(book.date1904);
    EXPECT_EQ(book.window().width, 3);
    EXPECT_EQ(book.window().selectedTab, 1);
    EXPECT_EQ(book.countryWinIni, 49);
    EXPECT_EQ(book.userName, "User");
}

TEST(ReaderTest, NamesHyperlinksAndValidations) {
    std::string globals =
        record(0x01AE, word(1) + std::string("\x01\x04", 2)) +
        record(0x0017, word(1) + word(0) + word(0) + word(0)) +
        record(0x0018, word(0) + std::string(1, '\0') + std::string(1, '\x05') + word(7) + word(0) +
                           word(0) + dword(0) + std::string(1, '\0') + "Total" +
                           std::string("\x3A\x00\x00\x00\x00\x00\x00", 7));
    std::u16string url = u"http://x.org/";
    std::string urlBytes;
    for (char16_t c : url + u'\0')
        urlBytes += std::string{static_cast<char>(c), 0};
    std::string link =
        word(2) + word(2) + word(1) + word(1) +
        std::string("\xD0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B", 16) +
        dword(2) + dword(0x17) + dword(3) + std::string("a\0b\0\0\0", 6) +
        std::string("\xE0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B", 16) +
        dword(static_cast<uint32_t>(urlBytes.size())) + urlBytes;
    std::string dv = dword(0x00000001 | (1 << 4) | (5 << 20)) + word(2) + std::string(1, '\0') +
                     "In" + word(1) + std::string(1, '\0') + std::string(1, '\0') + word(1) +
                     std::string(1, '\x01') + std::string("M\0", 2) + word(1) +
                     std::string(1, '\0') + "E" + word(3) + word(0) + IntFive + word(0) + word(0) +
                     word(2) + word(0) + word(9) + word(0) + word(0) + word(0) + word(9) + word(2) +
                     word(2);
    std::string cells =
        record(0x01B8, link) +
        record(0x01B2, word(0) + dword(0) + dword(0) + dword(0xFFFFFFFF) + dword(5)) +
        record(0x01BE, dv) + numberRecord(0, 0, 1);
    Workbook book;
    readBook(book, oneSheet(cells, globals));
    ASSERT_EQ(book.nameDefs().nameCount(), 1u);
    ASSERT_EQ(book.areaNames().count(), 1u);
    EXPECT_EQ(book.areaNames().item(0).areaName(), "Total");
    Sheet& s = book.sheets().item(0);
    ASSERT_EQ(s.hyperlinks().size(), 1u);
    EXPECT_EQ(s.hyperlinks()[0].text, "ab\thttp://x.org/");
    EXPECT_EQ(s.hyperlinks()[0].key, cellKey(1, 2));
    // DVAL promises five DV records; the one there is read and the EOF is not swallowed.
    ASSERT_EQ(s.validations().count(), 1u);
    const DataValidation& v = s.validations().item(0);
    EXPECT_EQ(v.type, ValidationType::Integer);
    EXPECT_EQ(v.style, ValidationStyle::Warning);
    EXPECT_EQ(v.op, ValidationOperator::Less);
    EXPECT_EQ(v.inputTitle, "In");
    EXPECT_EQ(v.errorTitle, "");
    EXPECT_EQ(v.inputMessage, "M"); // UTF-16 texts read as text, not as their bytes
    EXPECT_EQ(v.expression1(), "5");
    ASSERT_EQ(v.areas.size(), 2u);
    EXPECT_EQ(v.areas[1].col1, 2);
    EXPECT_EQ(v.areas[0].row2, 9);
    EXPECT_EQ(s.getAsString(0, 0), "1");
}

TEST(ReaderTest, EncryptedFilesAreRefused) {
    Workbook book;
    std::string stream = oneSheet("", record(0x002F, word(0) + word(0x1234) + word(0x5678)));
    EXPECT_EQ(errorOf([&] { readBook(book, stream); }),
              "Error on reading record # 2: File is password protected");
}

TEST(ReaderTest, PartialFilesKeepWhatWasRead) {
    std::string stream = oneSheet(numberRecord(0, 0, 1) + numberRecord(1, 0, 2));
    // Cut inside the last cell record: the cells before it stay and the read fails.
    std::string cut = stream.substr(0, stream.size() - 4 - 6);
    Workbook book;
    EXPECT_EQ(errorOf([&] { readBook(book, cut); }),
              "Error on reading record # 6: Unexpected end of file");
    EXPECT_EQ(book.sheets().item(0).getAsString(0, 0), "1");
    EXPECT_EQ(book.sheets().item(0).getCellType(0, 1), CellType::None);
    EXPECT_EQ(book.sheets().item(0).lastRow, 0);

    // Cut behind a whole record, or inside a header: the sheet has no EOF, the rest of it
    // is missing, and the read fails after what it read.
    Workbook whole;
    for (size_t cutAt : {stream.size() - 4, stream.size() - 2}) {
        EXPECT_EQ(errorOf([&] { readBook(whole, stream.substr(0, cutAt)); }),
                  "Error on reading the workbook: its stream ends at byte " +
                      std::to_string(stream.size() - 4) + " before the EOF record of its sheet 1");
        EXPECT_EQ(whole.sheets().item(0).getAsString(0, 1), "2");
    }
}

TEST(ReaderTest, ProgressRunsFromZeroToHundred) {
    std::string cells;
    for (int row = 0; row < 1000; ++row)
        cells += numberRecord(row, 0, row);
    std::vector<int> progress;
    Workbook book;
    book.onProgress = [&](int percent) { progress.push_back(percent); };
    readBook(book, oneSheet(cells));
    ASSERT_GE(progress.size(), 10u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST(ReaderTest, OlderVersions) {
    // BIFF5 in a "Book" stream: 8-bit texts without option bytes.
    std::string bof5 = record(0x0809, word(0x0500) + word(0x0010) + word(0) + word(0));
    std::string biff5 = record(0x0809, word(0x0500) + word(0x0005) + word(0) + word(0)) +
                        record(0x0085, dword(0) + word(0) + std::string(1, '\x02') + "B5") +
                        record(0x000A, "");
    biff5.replace(16, 4, dword(static_cast<uint32_t>(biff5.size()))); // BOUNDSHEET's offset
    biff5 += bof5 + record(0x0204, cellHead(0, 0) + word(2) + "\x01x") +
             record(0x001B, word(1) + word(5)) + record(0x000A, "");
    Workbook book;
    book.readBytes(compoundFile(biff5, "Book"));
    EXPECT_EQ(book.version(), ExcelVersion::Excel50);
    EXPECT_EQ(book.sheets().item(0).name(), "B5");
    EXPECT_EQ(book.sheets().item(0).getAsString(0, 0), "\x01x");
    EXPECT_EQ(book.sheets().item(0).printSettings().horizPagebreaks.size(), 1u);

    // BIFF2: a plain file of one worksheet.
    std::string biff2 =
        record(0x0009, word(0x0002) + word(0x0010)) +
        record(0x0002, word(0) + word(0) + std::string(3, '\0') + word(42)) +
        record(0x0004, word(1) + word(0) + std::string(3, '\0') + std::string(1, '\x02') + "hi") +
        record(0x0006, word(2) + word(0) + std::string(3, '\0') + doubleBytes(5) +
                           std::string(1, '\0') + std::string(1, '\x03') + IntFive) +
        record(0x000A, "") + numberRecord(9, 9, 9); // nothing after EOF is read
    Workbook old;
    old.readBytes(biff2);
    EXPECT_EQ(old.version(), ExcelVersion::Excel21);
    Sheet& s = old.sheets().item(0);
    EXPECT_EQ(s.name(), "Sheet 1");
    EXPECT_EQ(s.getAsString(0, 0), "42");
    EXPECT_EQ(s.getAsString(0, 1), "hi");
    EXPECT_EQ(s.getAsString(0, 2), "5");
    EXPECT_EQ(s.getCellType(9, 9), CellType::None);
}

// Every record length of three workbooks set to 0, -1, +1 and 0xFFFF in turn: each mutant
// reads or raises the library's error.
TEST(ReaderTest, DamagedRecordLengthsReadOrRaiseCleanly) {
    std::string sst = record(0x00FC, dword(1) + dword(1) + word(3) + std::string(1, '\0') + "abc");
    std::string biff8 = oneSheet(
        labelRecord(0, 0, "x") + record(0x00FD, cellHead(0, 1) + dword(0)) +
            formulaRecord(1, 0, specialResult(0), IntFive) + stringRecord("s") +
            record(0x00BD, word(2) + word(0) + word(0) + dword(6) + word(0) + dword(10) + word(1)) +
            record(0x00E5, word(1) + word(0) + word(1) + word(0) + word(1)) +
            record(0x01B2, std::string(14, '\0') + dword(1)) +
            record(0x01BE, std::string(40, '\0')),
        sst + record(0x0031, std::string(20, '\0')) + record(0x0018, std::string(20, '\0')));
    std::string biff2 = record(0x0009, word(2) + word(0x0010)) +
                        record(0x0004, std::string(7, '\0') + "\x03"
                                                              "abc") +
                        record(0x0003, std::string(15, '\0')) + record(0x000A, "");
    std::string biff4 = record(0x0409, word(0) + word(0x0010) + word(0)) +
                        record(0x0443, std::string(12, '\0')) + numberRecord(0, 0, 1) +
                        record(0x0406, std::string(18, '\0')) + record(0x000A, "");
    int mutants = 0;
    for (const auto& [bytes, compound] :
         {std::pair{biff8, true}, std::pair{biff2, false}, std::pair{biff4, false}}) {
        for (const RawRecord& r : recordsOf(bytes)) {
            for (int delta : {-1000000, -1, 1, 0x10000}) {
                std::string mutant = bytes;
                size_t length = delta == -1000000  ? 0
                                : delta == 0x10000 ? 0xFFFF
                                                   : r.body.size() + static_cast<size_t>(delta);
                mutant.replace(r.position + 2, 2, word(static_cast<uint16_t>(length)));
                Workbook book;
                try {
                    if (compound)
                        readBook(book, mutant);
                    else
                        book.readBytes(mutant);
                } catch (const XlsError&) {
                }
                ++mutants;
            }
        }
    }
    EXPECT_GT(mutants, 100);
}

// A file that cannot be read is refused in one line of words that names it: no control
// characters, nothing of the container library's own (its failed assertions).
TEST(ReaderTest, CorruptCorpusFilesReadOrRaiseCleanly) {
    REQUIRE_XLS_CORPUS();
    auto checkMessage = [](const std::string& path, const std::string& message) {
        std::string name = std::filesystem::path(path).filename().string();
        EXPECT_NE(message.find(name), std::string::npos) << message;
        EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
        EXPECT_EQ(message.find("assertion"), std::string::npos) << message;
    };
    int refused = 0;
    for (const char* source : {"poi", "exceldatareader", "calamine", "libxls", "sheetjs", "xlrd"}) {
        for (const std::string& path : corpusFiles(std::string(source) + "/corrupt")) {
            Workbook book;
            book.setFilename(path);
            try {
                book.read();
            } catch (const RecordError& e) {
                checkMessage(path, e.what());
                ++refused;
            } catch (const platform::StorageError& e) {
                checkMessage(path, e.what());
                ++refused;
            } catch (const XlsError&) {
            }
        }
    }
    EXPECT_GT(refused, 10);

    ScratchFolder scratch;
    Workbook folder;
    folder.setFilename(scratch.file(""));
    EXPECT_NE(errorOf([&] { folder.read(); }).find("is a folder, not a workbook"),
              std::string::npos);
}

TEST(ReaderTest, EncryptedCorpusFilesAreRefused) {
    REQUIRE_XLS_CORPUS();
    for (const char* file :
         {"poi/xor-encryption-abc.xls", "poi/password.xls", "poi/35897-type4.xls",
          "exceldatareader/Test_git_issue_242_xor_pwd_password.xls",
          "exceldatareader/Test_git_issue_242_std_rc4_pwd_password.xls",
          "sheetjs/password_2002_128_strong.xls", "sheetjs/biff5/password_2002_40_xor.xls"}) {
        Workbook book;
        book.setFilename(corpusPath(file));
        std::string message = errorOf([&] { book.read(); });
        std::string name = std::filesystem::path(file).filename().string();
        EXPECT_EQ(message.substr(0, 25), "Error on reading record #") << file;
        EXPECT_NE(message.find(" of \"" + name + "\": File is password protected"),
                  std::string::npos)
            << message;
    }
}

// A reader that only goes through the cells (a dump) gets each one whole, a text formula
// with its result, in the order of the file, each sheet's used range widened to its cells
// at its end; the sheets keep no cell.
TEST(ReaderTest, ACellSinkGetsEveryCellWholeAndTheSheetsKeepNone) {
    struct Seen : CellSink {
        std::vector<std::string> events;
        void sheetBegins(Sheet& sheet) override { events.push_back("begin " + sheet.name()); }
        void cell(const Cell& cell) override {
            std::string value = cell.type() == CellType::StringFormula
                                    ? fromXlsString(cell.flaggedResult())
                                    : std::to_string(static_cast<int>(cell.number()));
            events.push_back(std::to_string(cell.row()) + "," + std::to_string(cell.column()) +
                             " " + value);
        }
        void sheetEnds(Sheet& sheet) override {
            events.push_back("end " + std::to_string(sheet.lastRow));
        }
    } seen;
    std::string first = numberRecord(2, 0, 7) + formulaRecord(0, 1, specialResult(0), IntFive) +
                        stringRecord("five") + numberRecord(5, 1, 9);
    Workbook book;
    book.setCellSink(&seen);
    readBook(book, biff8Sheets("", {{"A", first}, {"B", numberRecord(1, 1, 3)}}));
    EXPECT_EQ(seen.events, (std::vector<std::string>{"begin A", "2,0 7", "0,1 five", "5,1 9",
                                                     "end 5", "begin B", "1,1 3", "end 1"}));
    book.sheets().item(0).cells().beginIterate();
    EXPECT_EQ(book.sheets().item(0).cells().nextCell(), nullptr);
    EXPECT_EQ(book.sheets().item(0).getCell(0, 2), nullptr);
}

// Excel 2.1 and 3.0 give their cells number formats as later versions do, through the
// formats of their FORMAT records: by XF record (an IXFE record names one above 62), or in a
// file without XF records by the cell's own attribute bytes.
TEST(ReaderTest, OlderFilesGiveTheirCellsTheirNumberFormats) {
    auto format = [](const std::string& text) {
        return record(0x001E, std::string(1, static_cast<char>(text.size())) + text);
    };
    const std::string formats = format("General") + format("0.00") + format("m/d/yy");
    auto number2 = [](int row, const std::string& attributes) {
        return record(0x0003,
                      word(static_cast<uint16_t>(row)) + word(0) + attributes + doubleBytes(37673));
    };
    auto numberFormatOf = [](Workbook& book, int row) {
        const Cell* cell = book.sheets().item(0).getCell(0, row);
        return cell ? book.formats().item(static_cast<size_t>(cell->xf())).numberFormat()
                    : std::string("no cell");
    };
    const std::string bof2 = record(0x0009, word(2) + word(0x0010));
    // XF 0 general, XF 1 dates; the cell of row 1 names XF 63 and the IXFE before it XF 1.
    std::string xfs =
        record(0x0043, std::string("\0\0\x00\0", 4)) + record(0x0043, std::string("\0\0\x02\0", 4));
    Workbook withXfs;
    withXfs.readBytes(bof2 + formats + xfs + number2(0, std::string("\x01\0\0", 3)) +
                      record(0x0044, word(1)) + number2(1, std::string("\x3F\0\0", 3)) +
                      record(0x000A, ""));
    EXPECT_EQ(numberFormatOf(withXfs, 0), "m/d/yy");
    EXPECT_EQ(numberFormatOf(withXfs, 1), "m/d/yy");

    Workbook withoutXfs; // attribute byte 1: number format 2, font 0
    withoutXfs.readBytes(bof2 + formats + number2(0, std::string("\0\x02\0", 3)) +
                         number2(1, std::string("\0\x01\0", 3)) + record(0x000A, ""));
    EXPECT_EQ(numberFormatOf(withoutXfs, 0), "m/d/yy");
    EXPECT_EQ(numberFormatOf(withoutXfs, 1), "0.00");

    const std::string xf3 = std::string("\0\x02\x01\0\0\0\0\0\0\0\0\0", 12);
    Workbook biff3;
    biff3.readBytes(record(0x0209, word(3) + word(0x0010)) + formats + record(0x0243, xf3) +
                    numberRecord(0, 0, 37673) + record(0x000A, ""));
    EXPECT_EQ(numberFormatOf(biff3, 0), "m/d/yy");
}

// A record that cannot be what its header says is refused with its id and place, never read
// past: what follows it would be lost, or read out of the wrong bytes.
TEST(ReaderTest, RecordsThatCannotBeWhatTheySayAreRefused) {
    const std::string before = numberRecord(0, 0, 1);
    const std::string after = numberRecord(1, 0, 2);
    auto refusal = [&](const std::string& damaged) {
        Workbook book;
        return errorOf([&] { readBook(book, oneSheet(before + damaged + after)); });
    };
    auto mulRk = [](uint16_t first, uint16_t last) {
        return record(0x00BD,
                      word(0) + word(first) + word(0) + dword(2) + word(0) + dword(6) + word(last));
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {record(0x00FD, cellHead(0, 1) + dword(0) + std::string(8225 - 10, '\0')),
         "it is 8225 bytes long, longer than any record of its version (8224)"},
        {record(0x00FD, cellHead(0, 1) + dword(0) + std::string(8224 - 10, '\0')),
         "it is 8224 bytes long where its layout has 10"},
        {record(0x0203, cellHead(0, 1) + doubleBytes(1) + word(0)),
         "it is 16 bytes long where its layout has 14"},
        {record(0x0208, word(0) + word(0) + word(1)), "it is 6 bytes long where its layout has 16"},
        {numberRecord(0, 256, 3), "its cell is in column 257, past the last column, 256"},
        {mulRk(1, 3), "its last column 3 is not that of its 2 cells"},
        {mulRk(255, 256), "its cell is in column 257, past the last column, 256"},
    };
    // The first sheet's records start after the globals; the damaged one is the second cell.
    for (const auto& [damaged, fault] : cases) {
        std::string message = refusal(damaged);
        EXPECT_NE(message.find("Error on reading record # "), std::string::npos) << message;
        char id[16];
        std::snprintf(id, sizeof id, ": record 0x%02X%02X at byte ",
                      static_cast<uint8_t>(damaged[1]), static_cast<uint8_t>(damaged[0]));
        EXPECT_NE(message.find(id), std::string::npos) << message;
        EXPECT_NE(message.find(" is damaged: " + fault), std::string::npos) << message;
    }
    size_t at = oneSheet(before).find(before);
    EXPECT_NE(
        refusal(numberRecord(0, 256, 3)).find("at byte " + std::to_string(at + before.size())),
        std::string::npos);

    // A row past the 16,384 of Excel 5; the same row is a row of Excel 97.
    std::string row16385 = record(0x0203, cellHead(16384, 0) + doubleBytes(4));
    Workbook biff5;
    EXPECT_NE(errorOf([&] {
                  biff5.readBytes(compoundFile(biff5Sheets("", {{"S", row16385}}), "Book"));
              }).find("its cell is in row 16385, past the last row of its version, 16384"),
              std::string::npos);
    Workbook biff8;
    readBook(biff8, oneSheet(row16385));
    EXPECT_EQ(biff8.sheets().item(0).getAsString(0, 16384), "4");
}

// A record of one size given another length moves every boundary after it: what follows is
// read out of the sheet's rows. Such a record, and a BOF read before its substream's EOF, are
// refused; the other sizes real writers use still read.
TEST(ReaderTest, SettingRecordsOfAnotherSizeAndABofInsideASheetAreRefused) {
    const std::string before = numberRecord(0, 0, 1);
    const std::string after = numberRecord(1, 0, 2);
    auto message = [&](const std::string& records, bool biff8 = true) {
        Workbook book;
        return errorOf([&] {
            std::string sheet = before + records + after;
            book.readBytes(biff8 ? compoundFile(oneSheet(sheet))
                                 : compoundFile(biff5Sheets("", {{"S", sheet}}), "Book"));
        });
    };
    const std::vector<std::tuple<std::string, bool, std::string>> refused = {
        {record(0x000D, std::string(1, '\1')), true, "it is 1 bytes long where its layout has 2"},
        {record(0x0010, std::string(10, '\0')), true, "where its layout has 8"},
        {record(0x00A1, ""), true, "it is 0 bytes long where its layout has 34"},
        {record(0x0200, std::string(12, '\0')), false, "where its layout has 10"},
        {record(0x023E, std::string(14, '\0')), true, "where its layout has 18"},
        {bof8(0x0010), true, "it begins a substream before the EOF record of its sheet 1"},
    };
    for (const auto& [records, biff8, fault] : refused) {
        std::string text = message(records, biff8);
        EXPECT_NE(text.find(" is damaged: "), std::string::npos) << text;
        EXPECT_NE(text.find(fault), std::string::npos) << text;
    }
    // The CALCMODE is the sheet's second record: its place is named.
    std::string stream = oneSheet(before + record(0x000D, std::string(1, '\1')) + after);
    size_t at = stream.find(before) + before.size();
    EXPECT_NE(message(record(0x000D, std::string(1, '\1'))).find("at byte " + std::to_string(at)),
              std::string::npos);

    // COLINFO of 11 bytes, a 10-byte WINDOW1 or WINDOW2 and a 16-byte DIMENSIONS in Excel 97,
    // and a chart inside the worksheet, are read with the cells around them.
    for (const std::string& records :
         {record(0x007D, std::string(11, '\0')), record(0x023E, std::string(10, '\0')),
          record(0x003D, std::string(10, '\0')), record(0x0200, std::string(16, '\0')),
          bof8(0x0020) + record(0x000A, "")}) {
        Workbook book;
        readBook(book, oneSheet(before + records + after));
        EXPECT_EQ(book.sheets().item(0).getAsString(0, 1), "2");
    }
}

// Shared ranges may overlap; each formula takes the range whose first cell its tExp names.
TEST(ReaderTest, OverlappingSharedFormulasFollowTheirOwnRange) {
    auto shared = [](uint16_t firstRow, uint16_t lastRow, const std::string& tokens) {
        return record(0x04BC, word(firstRow) + word(lastRow) + std::string("\0\0", 2) + word(0) +
                                  word(static_cast<uint16_t>(tokens.size())) + tokens);
    };
    auto exp = [](int row, int atRow) {
        return formulaRecord(row, 0, doubleBytes(0),
                             std::string("\x01", 1) + word(static_cast<uint16_t>(atRow)) + word(0),
                             0x0008);
    };
    std::string one("\x1E\x01\x00", 3), two("\x1E\x02\x00", 3);
    std::string cells = exp(0, 0) + shared(0, 9, one) + exp(3, 3) + shared(3, 5, two) + exp(4, 3) +
                        exp(4 + 1, 0) + exp(6, 0);
    Workbook book;
    book.showFormulas = true;
    readBook(book, oneSheet(cells));
    Sheet& s = book.sheets().item(0);
    for (auto [row, formula] :
         std::vector<std::pair<int, std::string>>{{0, "1"}, {3, "2"}, {4, "2"}, {5, "1"}, {6, "1"}})
        EXPECT_EQ(s.getAsString(0, row), formula) << row;

    REQUIRE_XLS_CORPUS();
    Workbook overlap;
    overlap.setFilename(corpusPath("poi/overlapSharedFormula.xls"));
    overlap.read();
    overlap.showFormulas = true;
    Sheet& second = overlap.sheets().item(1);
    for (int row = 4; row <= 13; ++row)
        EXPECT_EQ(second.getAsString(0, row), "2+2") << row;
}
