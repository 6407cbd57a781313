// Mailing lists kept in Excel worksheets: choosing the sheet, reading its cells (numbers in
// ZIP fields keep their leading zeros), workbooks that cannot take their sort information,
// and writing it back into the cells, with what xlrd reads from the result.

#include "tests/listio/ComponentListSupport.h"
#include "tests/support/SortTables.h"

#include "listio/ListComponents.h"
#include "xls/Workbook.h"
#include "xls/XlsStream.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;
using platform::Form;
using platform::MessageKind;

namespace {

// A copy of a corpus file that the test writes back: the corpus is read-only, and a file
// nobody may write is refused even to the superuser.
void copyToWrite(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(from, to);
    std::filesystem::permissions(to, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

// Reading only: the sort information would go into a separate file.
struct ReadFixture : ListFixture {
    explicit ReadFixture(std::vector<std::string> parameters = {})
        : ListFixture(std::move(parameters)) {
        setLine(&SettingsLists::prefsList, 2, "1");
    }
};

// Picks the sheet or table of this row in the selector when it shows.
void chooseInSelector(ListFixture& f, int row) {
    f.ui().whenShown("TableDlog", [row](Form& form) {
        form.control("TablesGrid").userSetItemIndex(row);
        form.control("TablesGrid").userDoubleClick();
    });
}

std::vector<int32_t> zips(ListFixture& f) {
    return test::zipValues(f.reading.mailing.tables);
}

// The texts of a column of the first sheet, row 0 first, as the library reads them back.
std::vector<std::string> column(const std::string& path, int col, size_t sheet = 0) {
    xls::Workbook book;
    book.setFilename(path);
    book.read();
    xls::Sheet& s = book.sheets().item(sheet);
    std::vector<std::string> texts;
    for (int row = 0; row <= s.lastRow; ++row)
        texts.push_back(s.getAsString(col, row));
    return texts;
}

const Roles zipAndOutputs = {{"zip", 1}, {"sort", 2}, {"tray", 3}, {"pkg", 4}, {"oel", 5}};

} // namespace

TEST(ExcelList, CellsAreReadAsTextAndNumbersInZipFieldsKeepTheirZeros) {
    ReadFixture f;
    std::string path = f.env.folder() + "members.xls";
    writeWorkbook(path, {{"Members",
                          {{"Ann", 1234.0, "12"},
                           {"Bo", std::string("75201"), "x"},
                           {"Cy", 752021234.0, 7.5},
                           {"Di", 75201.4},
                           {"Ed", 12341234.0}}}});
    ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}}), path);
    EXPECT_EQ(f.formatRead(), "Excel");
    // Ann's 1234 is 01234; Cy's nine digits are a whole ZIP+4; Di's float rounds; Ed's
    // eight digits are the ZIP+4 01234-1234.
    EXPECT_EQ(zips(f), (std::vector<int32_t>{1234, 75201, 75202, 75201, 1234}));

    // The field dialog showed the first row as record 1 (no field list) and walks rows.
    const Form& dialog = f.dialog.form();
    EXPECT_EQ(dialog.control("CurrentRecordLabel").caption(), "Record 1");
    EXPECT_EQ(dialog.control("zip").items(), (std::vector<std::string>{"Ann", "1234", "12"}))
        << "numbers read as they show before the ZIP field is known";

    // A separate +4 field typed as a number pads to four digits.
    ReadFixture g;
    std::string split = g.env.folder() + "split.xls";
    writeWorkbook(split, {{"Split", {{"Ann", std::string("75201"), 123.0}, {"Bo", 1234.0, 9.0}}}});
    ASSERT_EQ(openWithRoles(g, split, {{"zip5", 1}, {"zip4", 2}}), split);
    EXPECT_EQ(zips(g), (std::vector<int32_t>{75201, 1234}));
}

TEST(ExcelList, FieldDialogStepsThroughTheRows) {
    ReadFixture f;
    std::string path = f.env.folder() + "rows.xls";
    writeWorkbook(path, {{"Rows",
                          {{"A", std::string("75201")},
                           {"B", std::string("75202")},
                           {"C", std::string("01234")}}}});
    std::vector<std::string> seen;
    f.ui().whenShown("VerifyDlog", [&seen](Form& form) {
        auto shown = [&] { seen.push_back(form.control("zip").items().at(0)); };
        EXPECT_FALSE(form.control("prevbtn").enabled());
        shown();
        form.control("nextbtn").userClick();
        shown();
        form.control("nextbtn").userClick();
        shown();
        EXPECT_FALSE(form.control("nextbtn").enabled());
        form.control("prevbtn").userClick();
        shown();
        form.control("prevbtn").userClick();
        shown();
        EXPECT_FALSE(form.control("prevbtn").enabled()) << "row 0 is a record: no field list";
        form.control("OKBtn").userClick();
    });
    ASSERT_EQ(f.open(path, 0), path);
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "B", "C", "B", "A"}));
    EXPECT_EQ(f.reading.mailing.recordCount(), 3);
}

// A first row whose ZIP cell says "zip" names the fields: it is neither read nor counted,
// so that a workbook counts its records and rejects as the same list as text does.
TEST(ExcelList, HeadingRowIsNoRecord) {
    ReadFixture f;
    std::string path = f.env.folder() + "heading.xls";
    writeWorkbook(path, {{"List",
                          {{"NAME", "Zip Code", "CITY ST"},
                           {"Ann", std::string("75201"), "DALLAS TX"},
                           {"Bo", std::string("7520"), "DALLAS TX"},
                           {"Cy", 75202.0, "DALLAS TX"}}}});
    ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"citystate", 2}}), path);
    EXPECT_EQ(f.reading.mailing.recordCount(), 3);
    EXPECT_EQ(f.reading.mailing.counters.rejectedCount, 1);
    EXPECT_EQ(zips(f), (std::vector<int32_t>{75201, -207520, 75202}));
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(t.cities.text(t.pieces.back().city), "DALLAS TX");

    // A sheet of nothing but its heading has nothing to sort, and says so.
    ReadFixture g;
    std::string names = g.env.folder() + "names.xls";
    writeWorkbook(names, {{"List", {{"NAME", "ZIP"}}}});
    EXPECT_EQ(openWithRoles(g, names, {{"zip", 1}}), "");
    EXPECT_EQ(g.messageTexts(), (std::vector<std::string>{
                                    "There are no records to sort in names.xls. The sheet holds "
                                    "only the names of its fields."}));
    EXPECT_EQ(g.reading.mailing.recordCount(), 0);
}

TEST(ExcelList, SheetIsTheOnlyOneTheNamedOneOrThePersonsChoice) {
    std::string folder;
    auto twoSheets = [&](ListFixture& f) {
        std::string path = f.env.folder() + "book.xls";
        writeWorkbook(path, {{"Notes", {{"just notes"}}},
                             {"Mailing", {{"NAME", "ZIP"}, {"Ann", "75201"}, {"Bo", "75202"}}}});
        return path;
    };
    {
        ReadFixture f;
        std::string path = twoSheets(f);
        std::vector<std::string> offered;
        f.ui().whenShown("TableDlog", [&offered](Form& form) {
            EXPECT_EQ(form.caption(), "Sheet Selector");
            EXPECT_EQ(form.control("Label1").caption(),
                      "The database you selected has more than one sheet.");
            offered = form.control("TablesGrid").items();
            form.control("TablesGrid").userSetItemIndex(1);
            form.control("TablesGrid").userDoubleClick();
        });
        ASSERT_EQ(f.open(path), path);
        EXPECT_EQ(offered, (std::vector<std::string>{"Notes", "Mailing"}));
        EXPECT_EQ(f.reading.list.state.selectedSheetIndex, 1);
        EXPECT_EQ(f.reading.list.state.selectedTableName, "Mailing");
        EXPECT_EQ(f.reading.mailing.recordCount(), 2) << "the row of field names is no record";

        // Cancelling the selector for the next list reads nothing, whatever the last chose.
        f.ui().pressWhenShown("TableDlog", "CancelBtn");
        EXPECT_EQ(f.open(path, 0), "");
        EXPECT_EQ(f.reading.list.state.selectedTableName, "");
        EXPECT_TRUE(f.ui().messages().empty());
    }
    {
        ReadFixture probe;
        std::string path = twoSheets(probe);
        ReadFixture f({path, "DUZIZ", "mAiLiNg"});
        ASSERT_EQ(f.open(path, 0), path);
        EXPECT_EQ(f.reading.list.state.selectedSheetIndex, 1);
        EXPECT_TRUE(f.ui().formLog().empty()) << "no selector, no field dialog";
    }
    {
        // A sheet the workbook lacks is left to the person who runs the partner program; an
        // unattended run, where nobody chooses, refuses it, naming the sheets there are.
        ReadFixture probe;
        std::string path = twoSheets(probe);
        ReadFixture f({path, "DUZIZ", "Elsewhere"});
        f.ui().whenShown("TableDlog", [](Form& form) {
            EXPECT_EQ(form.caption(), "Sheet Selector");
            form.control("CancelBtn").userClick();
        });
        EXPECT_EQ(f.open(path, 0), "");
        EXPECT_EQ(f.ui().formLog(), (std::vector<std::string>{"modal TableDlog"}));
        ReadFixture g({path, "NOSTOP", "Elsewhere"});
        EXPECT_EQ(g.open(path, 0), "");
        EXPECT_TRUE(g.ui().formLog().empty());
        ASSERT_EQ(g.messageTexts().size(), 1u);
        EXPECT_EQ(g.messageTexts()[0], "book.xls has no sheet named \"Elsewhere\": its sheets "
                                       "are \"Notes\" and \"Mailing\". Quillan has not sorted "
                                       "it.");
    }
    {
        ReadFixture f;
        std::string path = f.env.folder() + "one.xls";
        writeWorkbook(path, {{"Only", {{"NAME", "ZIP"}, {"Ann", "75201"}}}});
        ASSERT_EQ(f.open(path), path);
        EXPECT_EQ(f.ui().formLog().back(), "modal VerifyDlog");
        EXPECT_EQ(f.ui().formLog().size(), 2u) << "the open dialog, then the field dialog";
    }
    {
        // A name on the command line that is not the only sheet's is not taken for it.
        ReadFixture probe;
        std::string path = probe.env.folder() + "one.xls";
        writeWorkbook(path, {{"Only", {{"NAME", "ZIP"}, {"Ann", "75201"}}}});
        ReadFixture f({path, "NOSTOP", "../../../../etc/passwd"});
        EXPECT_EQ(f.open(path, 0), "");
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_EQ(f.messageTexts()[0], "one.xls has no sheet named \"../../../../etc/passwd\": its "
                                       "only sheet is \"Only\". Quillan has not sorted it.");
        ReadFixture g({path, "NOSTOP", "only"});
        EXPECT_EQ(g.open(path, 0), path);
    }
}

// Excel 2.1 and 3.0 workbooks, which the library does not write.
TEST(ExcelList, WorkbookThatCannotBeWrittenIsRefusedBeforeItIsSorted) {
    const std::pair<int, const char*> cases[] = {{2, "Excel 2.1"}, {3, "Excel 3.0"}};
    for (const auto& [biff, says] : cases) {
        WriterFixture f;
        std::string path =
            f.write("old.xls", oldWorksheet({{"NAME", "ZIP", "SORT"}, {"Ann", "75201", ""}}, biff));
        const std::string hash = sha256Of(path);
        EXPECT_EQ(f.open(path, 0), "");
        ASSERT_EQ(f.ui().messages().size(), 1u) << says;
        EXPECT_EQ(f.ui().messages()[0].kind, MessageKind::Error);
        EXPECT_NE(f.ui().messages()[0].text.find(says), std::string::npos)
            << f.ui().messages()[0].text;
        EXPECT_NE(f.ui().messages()[0].text.find("\"Put it in a separate file.\""),
                  std::string::npos);
        EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u) << "nothing read";

        // Into a separate file it sorts.
        f.setLine(&SettingsLists::prefsList, 2, "1");
        f.ui().clearRecords();
        EXPECT_EQ(f.open(path), path) << says;
        EXPECT_EQ(zips(f), (std::vector<int32_t>{75201})) << says;
        EXPECT_EQ(sha256Of(path), hash) << says;
    }
}

TEST(ExcelWriter, RecordsGetTheirNumbersAndEveryOtherCellStays) {
    WriterFixture f;
    std::string path = f.env.folder() + "list.xls";
    SheetRows rows;
    // Ten records; the fourth and ninth are rejected.
    for (int i = 1; i <= 10; ++i)
        rows.push_back({"P" + std::to_string(i),
                        i == 4 || i == 9 ? CellValue(std::string("BAD"))
                                         : CellValue(i % 2 ? 75201.0 : 75202.0),
                        "old", 3.0, std::string(), "old oel", "kept"});
    writeWorkbook(path, {{"List", rows}, {"Other", {{"untouched", 1.0}}}});
    std::vector<std::string> before = xlrdCells(path);
    ASSERT_FALSE(before.empty());
    chooseInSelector(f, 0);
    ASSERT_EQ(openWithRoles(f, path, zipAndOutputs), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RAL");
    f.ui().clearRecords();
    ASSERT_FALSE(test::writeSortInformation(f).failed);

    // 75201 (records 1, 3, 5, 7) then 75202 (2, 6, 8, 10), then records 4 and 9.
    EXPECT_EQ(column(path, 2),
              (std::vector<std::string>{"000001", "000005", "000002", "000009", "000003", "000006",
                                        "000004", "000007", "000010", "000008"}));
    EXPECT_EQ(column(path, 3)[3], "00000");
    EXPECT_EQ(column(path, 3)[1], "00002");
    EXPECT_EQ(column(path, 4)[0], "00001");
    // A class without endorsement lines puts a blank there; a rejected record gets nothing.
    EXPECT_EQ(column(path, 5)[0], " ");
    EXPECT_EQ(column(path, 5)[8], "");

    // xlrd: the output cells are text, everything else is as it was.
    std::vector<std::string> after = xlrdCells(path);
    auto isOutput = [](const std::string& line) {
        size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        int col = std::stoi(line.substr(tab2 + 1));
        return line.rfind("List\t", 0) == 0 && col >= 2 && col <= 5;
    };
    std::vector<std::string> keptBefore, keptAfter;
    for (const auto& line : before)
        if (!isOutput(line))
            keptBefore.push_back(line);
    for (const auto& line : after) {
        if (!isOutput(line))
            keptAfter.push_back(line);
        else
            EXPECT_NE(line.find("\t1\t'"), std::string::npos) << "a text cell: " << line;
    }
    EXPECT_EQ(keptAfter, keptBefore);

    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has saved sorting information in the file named \"list.xls\". Using "
              "Excel, you should now sort the file in ascending order based on the sort order "
              "field. Before you do, would you like to add barcodes to this file?");
}

TEST(ExcelWriter, HeaderRowKeepsItsTextsWhateverTheCaseOfItsZip) {
    for (const std::string zipHeading : {"zip", "ZIP", "Zip+4"}) {
        WriterFixture f;
        std::string path = f.env.folder() + "list.xls";
        writeWorkbook(path, {{"List",
                              {{"NAME", zipHeading, " SORT\t"},
                               {"Ann", std::string("75202")},
                               {"Bo", std::string("BAD")},
                               {"Cy", std::string("75201")}}}});
        ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        ASSERT_FALSE(test::writeSortInformation(f).failed) << zipHeading;
        // The heading was no record: the rejected record takes the number after the pieces.
        EXPECT_EQ(column(path, 2),
                  (std::vector<std::string>{" SORT\t", "SORT000002", "SORT000003", "SORT000001"}))
            << zipHeading;
        EXPECT_EQ(column(path, 1)[0], zipHeading);
    }
    // Separate 5-digit and +4 fields: the 5-digit field's heading tells.
    WriterFixture f;
    std::string path = f.env.folder() + "split.xls";
    writeWorkbook(
        path, {{"List", {{"ZIP5", "ZIP4", "SEQ"}, {std::string("75201"), std::string("1234")}}}});
    ASSERT_EQ(openWithRoles(f, path, {{"zip5", 0}, {"zip4", 1}, {"sort", 2}}), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    ASSERT_FALSE(test::writeSortInformation(f).failed);
    EXPECT_EQ(column(path, 2), (std::vector<std::string>{"SEQ", "SEQ000001"}));
}

TEST(ExcelWriter, AFailedWriteLeavesTheWorkbookAsItWas) {
    enum Failure { ChangedSinceRead, TooBig, ReadOnlyFolder, ReadOnlyList, DrawingItCannotKeep };
    for (Failure failure :
         {ChangedSinceRead, TooBig, ReadOnlyFolder, ReadOnlyList, DrawingItCannotKeep}) {
        WriterFixture f;
        std::string path = f.env.folder() + "list.xls";
        SheetRows rows;
        for (int i = 0; i < 200; ++i)
            rows.push_back({"Person " + std::to_string(i), std::string("75201"), "old"});
        writeWorkbook(path, {{"List", rows}});
        ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        if (failure == ChangedSinceRead)
            writeWorkbook(path, {{"List", {{"Someone", "else"}}}});
        // A drawing changed since the read is made by the library, which cannot make a text
        // box: the write refuses rather than drop it.
        if (failure == DrawingItCannotKeep) {
            xls::Sheet& sheet = f.ctx().listComponents->workbook().sheets().item(0);
            sheet.unkeptShapes().add(xls::ShapeKind::TextBox);
            sheet.notes().add();
        }
        const std::string hash = sha256Of(path);
        f.ui().clearRecords();
        if (failure == ReadOnlyFolder || failure == ReadOnlyList) {
            // A list the user may not change is left with the advice every kind of list gets.
            EXPECT_TRUE(readOnlyWriteFails(f, path, failure == ReadOnlyList)) << failure;
        } else {
            FileSizeLimit limit(failure == TooBig ? 4096 : RLIM_INFINITY);
            EXPECT_TRUE(test::writeSortInformation(f).failed);
            expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                                  "\"list.xls\".");
            if (failure == DrawingItCannotKeep)
                expectNotSavedOnly(f, "Your list has not been changed. (This workbook holds 1 text "
                                      "box on sheet \"List\" that cannot be written back.)");
        }
        EXPECT_EQ(sha256Of(path), hash) << failure;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.env.folder()),
                                std::filesystem::directory_iterator()),
                  2)
            << "the list and tables/, no temporary file";
    }
}

// What a workbook holds besides its cells, as the library reads it back: per sheet its
// notes, pictures and charts, then the workbook's pictures and chart sheets.
std::vector<size_t> objectsOf(const std::string& path) {
    xls::Workbook book;
    book.setFilename(path);
    book.read();
    auto charts = [](xls::InFileCharts& kept) {
        size_t count = 0;
        for (size_t i = 0; i < kept.count(); ++i)
            count += kept.item(i).records.count() > 0;
        return count;
    };
    std::vector<size_t> counts;
    for (size_t i = 0; i < book.sheets().count(); ++i) {
        xls::Sheet& sheet = book.sheets().item(i);
        counts.insert(counts.end(), {sheet.notes().count(), sheet.sheetPictures().count(),
                                     sheet.charts().count(), charts(sheet.inFileCharts())});
    }
    counts.insert(counts.end(), {book.pictures().count(), charts(book.inFileCharts())});
    return counts;
}

TEST(ExcelWriter, MacrosNotesPicturesChartsAndPropertiesSurviveTheWriteBack) {
    const std::string corpus = std::string(QUILLAN_XLS_CORPUS) + "/";
    // Every stream of the compound file but the workbook's, with its size.
    const std::string streams =
        "import olefile, sys\n"
        "ole = olefile.OleFileIO(sys.argv[1])\n"
        "for entry in sorted(ole.listdir(streams=True)):\n"
        "    if entry[0] not in ('Workbook', 'Book'):\n"
        "        print(repr('/'.join(entry)), ole.get_size('/'.join(entry)))\n";
    // The notes as xlrd sees them, where it reads the file.
    const std::string notes = "import os, sys, xlrd\n"
                              "book = xlrd.open_workbook(sys.argv[1], formatting_info=True, "
                              "logfile=open(os.devnull, 'w'))\n"
                              "for sheet in book.sheets():\n"
                              "    for key, note in sorted(sheet.cell_note_map.items()):\n"
                              "        print(sheet.name, key, repr(note.text))\n";
    for (const char* name : {"poi/testNames.xls", "exceldatareader/Test_git_issue_532_mulcells.xls",
                             "poi/SimpleWithComments.xls", "poi/WithTwoCharts.xls"}) {
        ASSERT_TRUE(std::filesystem::exists(corpus + name)) << "no .xls corpus at " << corpus;
        WriterFixture f;
        std::string path = f.env.folder() + "objects.xls";
        copyToWrite(corpus + name, path);
        auto python = [&](const std::string& script) {
            return runCommand(std::string(QUILLAN_PYTHON) + " -c \"" + script + "\" '" + path +
                              "' 2>/dev/null");
        };
        const std::string streamsBefore = python(streams), notesBefore = python(notes);
        const std::vector<size_t> objects = objectsOf(path);
        chooseInSelector(f, 0);
        ASSERT_EQ(openWithRoles(f, path, {{"zip", 0}, {"sort", 1}}), path) << name;
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        EXPECT_FALSE(test::writeSortInformation(f).failed) << name;
        EXPECT_EQ(python(streams), streamsBefore) << name;
        if (!notesBefore.empty()) {
            EXPECT_EQ(python(notes), notesBefore) << name;
        }
        EXPECT_EQ(objectsOf(path), objects) << name;
    }
}

// Form controls, a picture in the layout of older versions beside notes, drawn shapes beside
// notes, a line on an Excel 4.0 sheet: the workbook is sorted and written back, the drawn
// objects with it. A protected sheet takes the sort information and stays protected.
TEST(ExcelWriter, WorkbooksWithDrawnObjectsOrProtectionSortIntoTheList) {
    const std::string corpus = std::string(QUILLAN_XLS_CORPUS) + "/";
    for (const char* name :
         {"poi/StringContinueRecords.xls", "exceldatareader/Test_git_issue_411.xls",
          "poi/DrawingAndComments.xls", "line", "protected"}) {
        WriterFixture f;
        std::string path = f.env.folder() + "objects.xls";
        if (std::string(name) == "line") {
            writeWorkbook(path, {{"List", {{"NAME", "ZIP", "SORT"}, {"Ann", "75201"}}}}, 4);
            drawLineOnBiff4Sheet(path);
        } else if (std::string(name) == "protected") {
            writeWorkbook(path, {{"List", {{"NAME", "ZIP", "SORT"}, {"Ann", "75201"}}}});
            xls::Workbook book;
            book.setFilename(path);
            book.read();
            book.sheets().item(0).setOption(xls::Sheet::Protected, true);
            book.write();
        } else {
            ASSERT_TRUE(std::filesystem::exists(corpus + name)) << "no .xls corpus at " << corpus;
            copyToWrite(corpus + name, path);
        }
        // The drawn objects as the library counts them, and the PROTECT records that are on
        // as the file holds them.
        auto drawnAndProtected = [&path]() {
            xls::Workbook book;
            book.setFilename(path);
            book.read();
            std::vector<size_t> seen;
            for (size_t i = 0; i < book.sheets().count(); ++i)
                seen.push_back(book.sheets().item(i).unkeptShapes().total());
            xls::XlsStream stream;
            stream.openRead(path);
            std::string records(stream.size(), '\0');
            stream.read(records.data(), records.size());
            size_t on = 0;
            for (size_t at = 0; at + 4 <= records.size();
                 at += 4 + static_cast<uint8_t>(records[at + 2]) +
                       256 * static_cast<uint8_t>(records[at + 3]))
                on += records.compare(at, 6, std::string("\x12\0\x02\0\x01\0", 6)) == 0;
            seen.push_back(on);
            return seen;
        };
        const std::vector<size_t> before = drawnAndProtected();
        chooseInSelector(f, 0);
        ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path) << name;
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        EXPECT_FALSE(test::writeSortInformation(f).failed) << name;
        EXPECT_EQ(drawnAndProtected(), before) << name;
        xls::Workbook back;
        back.setFilename(path);
        back.read();
        EXPECT_NE(back.sheets().item(0).getAsString(2, 1), "") << name;
    }
}

namespace {

// The bodies of the records of an id in each top-level substream of a workbook.
std::vector<std::vector<std::string>> bodiesBySubstream(const std::string& path, uint16_t id) {
    xls::XlsStream stream;
    stream.openRead(path);
    std::string bytes(stream.size(), '\0');
    stream.read(bytes.data(), bytes.size());
    auto word = [&bytes](size_t at) {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                     (static_cast<uint8_t>(bytes[at + 1]) << 8));
    };
    std::vector<std::vector<std::string>> substreams;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4 + word(at + 2)) {
        if (word(at) == 0x0809)
            substreams.emplace_back();
        if (word(at) == id && !substreams.empty())
            substreams.back().push_back(bytes.substr(at + 4, word(at + 2)));
    }
    return substreams;
}

// How gnumeric would print each sheet: its page setup as it reads it, or nothing without it.
std::string gnumericPageSetup(const std::string& path) {
    if (runCommand("command -v ssconvert").empty())
        return {};
    return runCommand("ssconvert '" + path + "' fd://1 --export-type=Gnumeric_XmlIO:sax " +
                      "2>/dev/null | zcat -f | sed -n '/<gnm:PrintInformation>/,/<\\/gnm:Print" +
                      "Information>/p'");
}

} // namespace

// A mailing list that prints fitted to one page wide, whose printer settings were never set
// (so the 255 % scale beside them means nothing), in a 9.5-point font of the automatic
// colour, with code names: sorted and written back, it prints as it did, and its page setup,
// sheet flags, fonts and code names are as they were, byte for byte.
TEST(ExcelWriter, PageSetupSheetFlagsFontsAndCodeNamesSurviveTheSort) {
    WriterFixture f;
    std::string path = f.env.folder() + "list.xls";
    SheetRows rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({"Person " + std::to_string(i), i % 2 ? 75201.0 : 75202.0, "old"});
    writeWorkbook(path, {{"List", rows}});
    {
        xls::Workbook book;
        book.setFilename(path);
        book.read();
        xls::Sheet& list = book.sheets().item(0);
        xls::PrintSettings& print = list.printSettings();
        print.setupFlags |= xls::PrintSettings::PrinterSettingsNotSet;
        print.scalingFactor = 255;
        print.fitWidth = 1;
        print.fitHeight = 0;
        print.resolution = print.verticalResolution = 300;
        list.workspaceOptions |= xls::Sheet::FitToPage;
        list.codeName = "Sheet1";
        book.codeName = "ThisWorkbook";
        xls::XFont& font = book.fonts().item(0);
        font.setRecordValues(190, 0x7FFF, 400, 0, 0);
        font.family = 2;
        book.write();
    }
    const std::vector<uint16_t> kept = {0x00A1, 0x0081, 0x0031, 0x01BA, 0x0014, 0x0015};
    std::vector<std::vector<std::vector<std::string>>> before;
    for (uint16_t id : kept)
        before.push_back(bodiesBySubstream(path, id));
    const std::string printBefore = gnumericPageSetup(path);

    ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path)
        << (f.ui().messages().empty() ? "" : f.ui().messages()[0].text);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    ASSERT_FALSE(test::writeSortInformation(f).failed);
    EXPECT_EQ(column(path, 2)[0], "000001");
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(bodiesBySubstream(path, kept[i]), before[i]) << kept[i];
    EXPECT_EQ(gnumericPageSetup(path), printBefore);
    // gnumeric takes the page as fitted, not scaled (it reads no page counts beside the
    // flag, before or after).
    if (!runCommand("command -v ssconvert").empty()) {
        EXPECT_NE(printBefore.find("<gnm:Scale type=\"size_fit\""), std::string::npos)
            << printBefore;
    }
}
