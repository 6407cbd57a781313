// The workbook as the program uses it: sheets, cell access by column and row, the
// component's settings and the name lookups of its formulas.

#include "xls/Workbook.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Messages.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

using namespace xls;

namespace {

// The messages of the workbooks made with its handler.
class RecordedMessages {
public:
    MessageHandler handler() {
        return [this](const std::string& message) { texts_.push_back(message); };
    }
    const std::vector<std::string>& texts() const { return texts_; }

private:
    std::vector<std::string> texts_;
};

template <typename Work>
std::string errorOf(Work work) {
    try {
        work();
    } catch (const XlsError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(WorkbookTest, ProgramCellContract) {
    Workbook book;
    Sheet& sheet = book.sheets().item(0);
    sheet.setInteger(0, 0, 42, -1);
    sheet.setFloat(1, 0, 2.5, -1);
    sheet.setFloat(2, 0, 3.5, -1);
    sheet.setFloat(3, 0, -2.5, -1);
    sheet.setFloat(4, 0, 3e9, -1);
    sheet.setFloat(5, 0, std::numeric_limits<double>::quiet_NaN(), -1);
    sheet.setFloat(6, 0, -std::numeric_limits<double>::infinity(), -1);
    sheet.setString(7, 0, "text", -1);
    sheet.setNumberFormula(8, 0, std::string("\x1E\x05\x00", 3), -1, 5);
    sheet.setBlank(9, 0, -1);

    EXPECT_EQ(sheet.getCellType(0, 0), CellType::Integer);
    EXPECT_EQ(static_cast<int>(sheet.getCellType(1, 0)), 4);
    EXPECT_EQ(sheet.getCellType(20, 20), CellType::None);
    EXPECT_EQ(sheet.getAsInteger(0, 0), 42);
    EXPECT_EQ(sheet.getAsInteger(1, 0), 2);
    EXPECT_EQ(sheet.getAsInteger(2, 0), 4);
    EXPECT_EQ(sheet.getAsInteger(3, 0), -2);
    for (int col : {4, 5, 6})
        EXPECT_THROW(sheet.getAsInteger(col, 0), RangeError) << col;
    for (int col : {7, 8, 9, 10})
        EXPECT_EQ(errorOf([&] { sheet.getAsInteger(col, 0); }), "Cell is missing/is of wrong type")
            << col;

    EXPECT_EQ(sheet.getAsString(9, 0), "");
    EXPECT_EQ(sheet.getAsString(50, 9), "");
    EXPECT_EQ(sheet.getAsString(0, 0), "42");
    EXPECT_EQ(sheet.getAsString(1, 0), "2.5");
    EXPECT_EQ(sheet.getAsString(7, 0), "text");
    EXPECT_EQ(sheet.getAsString(8, 0), "5");
    EXPECT_THROW(sheet.getCell(256, 0), RangeError);
    EXPECT_THROW(sheet.getCell(0, 65536), RangeError);
}

TEST(WorkbookTest, SetAsStringReplacesAndKeepsTheFormat) {
    Workbook book;
    Sheet& sheet = book.sheets().item(0);
    sheet.setFloat(2, 3, 1.25, 7);
    sheet.setAsString(2, 3, "first");
    sheet.setAsString(2, 3, "second");
    EXPECT_EQ(sheet.getCellType(2, 3), CellType::String);
    EXPECT_EQ(sheet.getAsString(2, 3), "second");
    EXPECT_EQ(sheet.getCell(2, 3)->xf(), 7);
    sheet.cells().beginIterate();
    int cells = 0;
    while (sheet.cells().nextCell())
        ++cells;
    EXPECT_EQ(cells, 1);
    // The texts joined the shared strings; equal texts share an entry.
    sheet.setAsString(0, 0, "second");
    EXPECT_EQ(book.sheets().strings().count(), 2u);
}

TEST(WorkbookTest, ValueTextsOfEveryKind) {
    Workbook book;
    Sheet& sheet = book.sheets().item(0);
    const double values[] = {0.1,
                             12345,
                             123456789,
                             1e15,
                             1.5e-7,
                             -0.5,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()};
    const char* texts[] = {"0.1",     "12345", "123456789", "1E+15",
                           "1.5E-07", "-0.5",  "#NUM!",     "#NUM!"};
    for (int i = 0; i < 8; ++i) {
        sheet.setFloat(i, 0, values[i], -1);
        EXPECT_EQ(sheet.getAsString(i, 0), texts[i]) << i;
    }

    sheet.setBoolean(0, 1, true, -1);
    sheet.setError(1, 1, 7, -1);
    sheet.setError(2, 1, 9, -1);
    sheet.setStringFormula(3, 1,
                           std::string("\x17\x02\x00"
                                       "ab",
                                       5),
                           -1, "ab");
    sheet.setBooleanFormula(4, 1, std::string("\x1D\x00", 2), -1, false);
    sheet.setErrorFormula(5, 1, "\x1C\x07", -1, 0x07);
    sheet.setArrayFormula(6, 1, std::string("\x01\x00\x00\x00\x00", 5), "", -1, 1.5);
    EXPECT_EQ(sheet.getAsString(0, 1), "TRUE");
    book.strTrue = "Yes";
    EXPECT_EQ(sheet.getAsString(0, 1), "Yes");
    EXPECT_EQ(sheet.getAsString(1, 1), "#N/A");
    EXPECT_THROW(sheet.getAsString(2, 1), RangeError);
    EXPECT_EQ(sheet.getAsString(3, 1), "ab");
    EXPECT_EQ(sheet.getAsString(4, 1), "FALSE");
    EXPECT_EQ(sheet.getAsString(5, 1), "#DIV/0!");
    EXPECT_EQ(sheet.getAsString(6, 1), "1.5");
    book.showFormulas = true;
    EXPECT_EQ(sheet.getAsString(3, 1), "\"ab\"");
    EXPECT_EQ(sheet.getAsString(5, 1), "#DIV/0!");
    EXPECT_EQ(sheet.getAsString(0, 1), "Yes"); // not a formula
}

TEST(WorkbookTest, NumberTextsTakeThePlatformsDecimalSeparator) {
    platform::ScriptedLocaleSettings comma({',', ';'});
    Workbook commaBook({}, comma);
    commaBook.sheets().item(0).setFloat(0, 0, 0.1, -1);
    EXPECT_EQ(commaBook.sheets().item(0).getAsString(0, 0), "0,1");
    EXPECT_EQ(commaBook.funcArgSeparator(), ';');
}

// Sets LC_NUMERIC to a locale whose decimal separator is the comma, compiling one into a
// scratch folder when none is installed (any user may: localedef with the locale sources of
// Debian's "locales", which scripts/install-deps installs); restores "C" when it goes.
class CommaNumericLocale {
public:
    CommaNumericLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name)) {
                active_ = true;
                return;
            }
        // -c: a locale made with warnings of the sources' own is still made.
        std::string made = folder_.file("de_DE.UTF-8");
        std::string command = "localedef -c -i de_DE -f UTF-8 '" + made + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1)
            return;
        setenv("LOCPATH", folder_.file("").c_str(), 1);
        active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CommaNumericLocale() {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
    bool active() const { return active_; }

private:
    test::ScratchFolder folder_;
    bool active_ = false;
};

TEST(WorkbookTest, NumberTextsIgnoreTheCLocale) {
    CommaNumericLocale comma;
    ASSERT_TRUE(comma.active()) << "no locale with a decimal comma: localedef and the locale "
                                   "sources of Debian's \"locales\" (scripts/install-deps)";
    ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
    platform::ScriptedLocaleSettings dot;
    Workbook dotBook({}, dot);
    dotBook.sheets().item(0).setFloat(0, 0, 1234.5, -1);
    dotBook.sheets().item(0).setFloat(1, 0, 1.5e-7, -1);
    EXPECT_EQ(dotBook.sheets().item(0).getAsString(0, 0), "1234.5");
    EXPECT_EQ(dotBook.sheets().item(0).getAsString(1, 0), "1.5E-07");
    // The system backend follows the process locale, as the program sets it.
    Workbook systemBook;
    systemBook.sheets().item(0).setFloat(0, 0, 1234.5, -1);
    EXPECT_EQ(systemBook.sheets().item(0).getAsString(0, 0), "1234,5");
    EXPECT_EQ(systemBook.funcArgSeparator(), ';');
}

TEST(WorkbookTest, SheetNames) {
    RecordedMessages messages;
    Workbook book(messages.handler());
    Sheet& second = book.sheets().add();
    EXPECT_EQ(book.sheets().item(0).name(), "Sheet 1");
    EXPECT_EQ(second.name(), "Sheet 2");
    second.setName("Sheet 1");
    EXPECT_EQ(second.name(), "Sheet 2");
    second.setName("Sheet 2"); // its own name again is no clash
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Sheet name \"Sheet 1\" allready exists"});

    second.setName("Caf\xE9 \x80"); // "€" is kept as UTF-16
    EXPECT_EQ(second.name(), "Caf\xE9 \x80");
    EXPECT_EQ(second.flaggedName()[0], '\x01');
    second.setName(std::string("\0abc", 4)); // already flagged
    EXPECT_EQ(second.name(), "abc");
    EXPECT_THROW(book.sheets().item(2), RangeError);
}

TEST(WorkbookTest, ComponentDefaultsAndClear) {
    RecordedMessages messages;
    platform::ScriptedLocaleSettings locale({'.', ','});
    Workbook book(messages.handler(), locale);
    EXPECT_EQ(book.sheets().count(), 1u);
    EXPECT_EQ(book.sheets().item(0).name(), "Sheet 1");
    EXPECT_EQ(book.version(), ExcelVersion::Excel97);
    EXPECT_EQ(book.codepage(), 1200);
    EXPECT_EQ(book.formats().count(), 1u);
    EXPECT_EQ(book.fonts().count(), 5u);
    book.setCodepage(0);
    EXPECT_EQ(book.codepage(), 1252);
    book.setFuncArgSeparator(';');
    EXPECT_EQ(book.funcArgSeparator(), ';');
    book.setFuncArgSeparator('\0');
    EXPECT_EQ(book.funcArgSeparator(), ',');

    book.setVersion(ExcelVersion::Excel50);
    EXPECT_EQ(book.maxRecordSize(), 2080);
    book.setFilename("/tmp/x.xls");
    book.userName = "me";
    book.sheets().add().setName("Other");
    book.sheets().item(0).setAsString(0, 0, "a");
    book.formats().add();
    book.areaNames().add();
    book.isDefaultWorkbook = false;
    book.date1904 = true;
    book.clear();
    EXPECT_EQ(book.sheets().count(), 1u);
    EXPECT_EQ(book.sheets().item(0).name(), "Sheet 1");
    EXPECT_EQ(book.sheets().item(0).getCellType(0, 0), CellType::None);
    EXPECT_EQ(book.sheets().strings().count(), 0u);
    EXPECT_EQ(book.formats().count(), 1u);
    EXPECT_EQ(book.areaNames().count(), 0u);
    EXPECT_TRUE(book.isDefaultWorkbook);
    EXPECT_FALSE(book.date1904);
    EXPECT_EQ(book.version(), ExcelVersion::Excel50);
    EXPECT_EQ(book.filename(), "/tmp/x.xls");
    EXPECT_EQ(book.userName, "me");
    EXPECT_EQ(book.codepage(), 1252);

    ASSERT_NE(book.font(), nullptr);
    XFont bold;
    bold.style = XFont::Bold;
    book.setFont(bold);
    EXPECT_TRUE(book.font()->has(XFont::Bold));
    book.fonts().clear();
    EXPECT_EQ(book.font(), nullptr);
    book.setFont(bold);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"No Fonts", "No Fonts"}));
}

TEST(WorkbookTest, EachWorkbookTellsItsMessagesToItsOwnHandler) {
    RecordedMessages first, second;
    Workbook one(first.handler());
    Workbook other(second.handler());
    Workbook silent;
    other.sheets().item(0).printSettings().setHeader(std::string(256, 'h'));
    other.pictures().add().setFilename("/no such folder/none.png");
    other.sheets().item(0).sheetPictures().add().setZoom(0);
    silent.sheets().add().setName("Sheet 1"); // nobody to tell: nothing happens
    one.sheets().add().setName("Sheet 1");
    EXPECT_EQ(first.texts(), std::vector<std::string>{"Sheet name \"Sheet 1\" allready exists"});
    EXPECT_EQ(second.texts(),
              (std::vector<std::string>{"Header is limited to max 255 characthers",
                                        "Can not find file \"/no such folder/none.png\"",
                                        "Value can be between 1% - 999%"}));
}

TEST(WorkbookTest, VersionsThatCannotBeWrittenLeaveNoFile) {
    test::ScratchFolder folder;
    Workbook book;
    book.setFilename(folder.file("out.xls"));
    for (ExcelVersion version : {ExcelVersion::Excel21, ExcelVersion::Excel30}) {
        book.setVersion(version);
        EXPECT_EQ(errorOf([&] { book.write(); }), "Can not write Excel 2.1/3.0 files");
    }
    for (ExcelVersion version : {ExcelVersion::None, ExcelVersion::Unknown}) {
        book.setVersion(version);
        EXPECT_THROW(book.write(), XlsError);
        std::string memory;
        EXPECT_THROW(book.writeToStream(memory), XlsError);
        EXPECT_TRUE(memory.empty());
    }
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(WorkbookTest, SheetLookupsMakeTheirLinkEntries) {
    Workbook book;
    book.sheets().item(0).setName("Data");
    book.sheets().add().setName("Totals");
    NameDefs& names = book.nameDefs();

    std::optional<SheetReference> own = book.lookupSheet("totals");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->firstSheet, 1);
    ASSERT_EQ(names.supBookCount(), 1u);
    EXPECT_EQ(names.supBook(0).fileName, NameDefs::OwnWorkbook);
    EXPECT_EQ(names.externSheet(static_cast<size_t>(own->externIndex)).firstSheet, 1);
    EXPECT_EQ(book.lookupSheet("DATA")->firstSheet, 0);
    EXPECT_EQ(book.lookupSheet("Totals")->externIndex, own->externIndex); // reused
    EXPECT_FALSE(book.lookupSheet("Missing"));
    EXPECT_FALSE(book.lookupSheet("'Data'")); // quoted without brackets

    std::optional<SheetReference> external = book.lookupSheet("'C:\\dir\\[book.xls]Prices'");
    ASSERT_TRUE(external);
    const ExternSheet& entry = names.externSheet(static_cast<size_t>(external->externIndex));
    const SupBook& book2 = names.supBook(entry.supBook);
    EXPECT_EQ(book2.fileName, "C:\\dir\\book.xls");
    EXPECT_EQ(book2.sheetNames, std::vector<std::string>{"Prices"});

    std::optional<DdeReference> dde = book.lookupDde("Excel\x03Topic", "R1C1");
    ASSERT_TRUE(dde);
    const ExternSheet& ddeSheet = names.externSheet(static_cast<size_t>(dde->externIndex));
    EXPECT_EQ(ddeSheet.firstSheet, 0xFFFE);
    const SupBook& link = names.supBook(ddeSheet.supBook);
    EXPECT_EQ(link.fileName, "Excel\x03Topic");
    ASSERT_EQ(link.externNames.size(), 1u);
    EXPECT_EQ(link.externNames[0].options, 0x7FE2);
    EXPECT_EQ(dde->nameIndex, 1);
    // A second link to the same topic puts its item into that SUPBOOK, not the last one.
    book.lookupSheet("'[other.xls]S'");
    EXPECT_EQ(book.lookupDde("Excel\x03Topic", "R2C2")->nameIndex, 2);
    EXPECT_EQ(link.externNames.size(), 2u);
}

TEST(WorkbookTest, FormulasThroughTheWorkbooksNames) {
    Workbook book;
    book.sheets().item(0).setName("Data");
    Sheet& totals = book.sheets().add();
    totals.setName("Totals");
    AreaName& area = book.areaNames().add();
    area.setAreaName("Prices");
    area.setNameDef("Data!$A$1:$A$5");

    EncodedFormula formula = book.encoder().encode("SUM(Prices)+Data!B2");
    totals.setNumberFormula(0, 0, formula.tokens(), -1, 0);
    book.showFormulas = true;
    EXPECT_EQ(totals.getAsString(0, 0), "SUM(Prices)+Data!B2");
    EXPECT_EQ(area.nameDef(), "Data!$A$1:$A$5");

    book.setFuncArgSeparator(';');
    totals.setNumberFormula(1, 0, book.encoder().encode("MAX(1;2)").tokens(), -1, 2);
    EXPECT_EQ(totals.getAsString(1, 0), "MAX(1;2)");
}

TEST(WorkbookTest, PrintTitlesBecomeTheSheetsName) {
    Workbook book;
    book.sheets().add();
    book.sheets().item(1).printSettings().setRowsOnEachPage("0:1");
    ASSERT_EQ(book.nameDefs().nameCount(), 1u);
    EXPECT_EQ(book.nameDefs().name(0).sheetIndex, 2);
    EXPECT_EQ(book.nameDefs().name(0).tokens.size(), 11u);
}
