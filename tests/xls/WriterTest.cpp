// The workbook writer: the records of each version, their order and offsets, what a read
// gets back, and that a failed write leaves the user's file as it was.

#include "platform/storage/CompoundFile.h"
#include "platform/text/NumberSeparators.h"
#include "tests/xls/StructureCheck.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

using namespace xls;
using namespace xls::test;

namespace {

template <typename Work>
std::string errorOf(Work work) {
    try {
        work();
    } catch (const XlsError& e) {
        return e.what();
    }
    return "no error";
}

// The records of the workbook stream of a written file.
std::vector<RawRecord> writtenRecords(Workbook& book) {
    std::string file;
    book.writeToStream(file);
    EXPECT_EQ(checkWorkbookStructure(file), std::vector<std::string>{});
    if (book.version() <= ExcelVersion::Excel40)
        return recordsOf(file);
    platform::CompoundFile compound = platform::CompoundFile::open(file);
    return recordsOf(
        compound.readStream(book.version() == ExcelVersion::Excel50 ? "Book" : "Workbook"));
}

std::vector<RawRecord> withId(const std::vector<RawRecord>& records, uint16_t id) {
    std::vector<RawRecord> found;
    std::copy_if(records.begin(), records.end(), std::back_inserter(found),
                 [id](const RawRecord& r) { return r.id == id; });
    return found;
}

size_t indexOf(const std::vector<RawRecord>& records, uint16_t id, size_t from = 0) {
    for (size_t i = from; i < records.size(); ++i)
        if (records[i].id == id)
            return i;
    return records.size();
}

uint16_t wordAt(const std::string& body, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(body[at]) |
                                 (static_cast<uint8_t>(body[at + 1]) << 8));
}

// Writes, reads back through a file, and returns the book read.
void roundTrip(Workbook& book, Workbook& back, const std::string& path) {
    book.setFilename(path);
    book.write();
    back.setFilename(path);
    back.read();
}

} // namespace

TEST(WriterTest, CellRecordsAndTheirFormats) {
    for (ExcelVersion version : {ExcelVersion::Excel97, ExcelVersion::Excel50}) {
        Workbook book;
        book.setVersion(version);
        for (int i = 0; i < 3; ++i)
            book.formats().add();
        Sheet& sheet = book.sheets().item(0);
        sheet.setInteger(1, 0, 7, -1);
        sheet.setString(0, 0, "text", 3);
        sheet.setStringFormula(0, 1, book.encoder().encode("\"a\"&\"b\"").tokens(), -1, "ab");
        sheet.setErrorFormula(1, 1, book.encoder().encode("1/0").tokens(), -1, 0x07);
        std::vector<RawRecord> records = writtenRecords(book);
        bool biff8 = version == ExcelVersion::Excel97;

        // Cells go out in key order: (0,0), (1,0), then row 1.
        std::vector<RawRecord> cells;
        for (const RawRecord& r : records)
            if (r.id == record::Number || r.id == record::LabelSst || r.id == record::Label ||
                r.id == record::Formula)
                cells.push_back(r);
        ASSERT_EQ(cells.size(), 4u);
        EXPECT_EQ(cells[0].id, biff8 ? record::LabelSst : record::Label);
        EXPECT_EQ(wordAt(cells[0].body, 4), biff8 ? 24 : 19); // XF 3 after the built-in ones
        if (!biff8) {
            EXPECT_EQ(cells[0].body.substr(6), std::string("\x04\x00text", 6));
        }
        EXPECT_EQ(cells[1].id, record::Number);
        EXPECT_EQ(wordAt(cells[1].body, 4), 15); // no format given: the default cell format
        EXPECT_EQ(cells[1].body.substr(6), std::string("\0\0\0\0\0\0\x1C\x40", 8)); // 7.0
        EXPECT_EQ(cells[3].body.substr(6, 8), std::string("\x02\x00\x07\x00\x00\x00\xFF\xFF", 8));
        size_t string = indexOf(records, record::String);
        ASSERT_LT(string, records.size());
        EXPECT_EQ(records[string - 1].body, cells[2].body); // right behind its formula
        EXPECT_EQ(records[string].body, biff8 ? std::string("\x02\x00\x00"
                                                            "ab",
                                                            5)
                                              : std::string("\x02\x00"
                                                            "ab",
                                                            4));
    }
}

TEST(WriterTest, WorkbookRecordsOfANewWorkbook) {
    for (ExcelVersion version : {ExcelVersion::Excel97, ExcelVersion::Excel50}) {
        Workbook book;
        book.setVersion(version);
        bool biff8 = version == ExcelVersion::Excel97;
        Sheet& sheet = book.sheets().item(0);
        sheet.printSettings().marginLeft = 0;
        sheet.zoom = 75;
        ColumnFormat& column = sheet.columnFormats().add();
        column.setCol1(2);
        column.setCol2(3);
        std::vector<RawRecord> records = writtenRecords(book);

        EXPECT_EQ(withId(records, record::Font).size(), 4u);  // five fonts, no font 4
        EXPECT_TRUE(withId(records, record::Format).empty()); // only the built-in texts
        EXPECT_EQ(withId(records, record::Xf).size(), biff8 ? 22u : 17u);
        EXPECT_EQ(withId(records, record::Style).size(), biff8 ? 6u : 1u);
        EXPECT_EQ(withId(records, record::Header)[0].body, "");
        EXPECT_EQ(withId(records, record::LeftMargin).size(), 1u);
        EXPECT_TRUE(withId(records, record::TopMargin).empty());
        EXPECT_EQ(withId(records, record::Scl)[0].body, std::string("\x4B\x00\x64\x00", 4));
        EXPECT_EQ(wordAt(withId(records, record::ColInfo)[0].body, 6), biff8 ? 21 : 16);
        EXPECT_EQ(wordAt(withId(records, record::CodePage)[0].body, 0), biff8 ? 1200 : 1252);
        std::vector<RawRecord> palette = withId(records, record::Palette);
        if (biff8) {
            EXPECT_TRUE(palette.empty());
        } else {
            ASSERT_EQ(palette.size(), 1u);
            EXPECT_EQ(palette[0].body.size() + 4, 230u);
        }
    }

    Workbook book;
    book.formats().setNumberFormatAt(14, "dd/mm/yyyy");
    std::vector<RawRecord> formats = withId(writtenRecords(book), record::Format);
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(wordAt(formats[0].body, 0), 14);

    // A new workbook says the country of the user's locale; one read keeps the file's.
    platform::ScriptedLocaleSettings german({',', ';'}, 49);
    Workbook fromGermany({}, german);
    std::string file;
    fromGermany.writeToStream(file);
    std::vector<RawRecord> country = withId(writtenRecords(fromGermany), record::Country);
    ASSERT_EQ(country.size(), 1u);
    EXPECT_EQ(country[0].body, std::string("\x01\x00\x31\x00", 4));
    Workbook read;
    read.readBytes(file);
    EXPECT_EQ(withId(writtenRecords(read), record::Country)[0].body, country[0].body);
}

TEST(WriterTest, SubstreamsAndTheirOffsets) {
    for (ExcelVersion version : {ExcelVersion::Excel97, ExcelVersion::Excel50}) {
        Workbook book;
        book.setVersion(version);
        for (int i = 0; i < 2; ++i)
            book.sheets().add();
        for (int i = 0; i < 3; ++i)
            book.sheets().item(static_cast<size_t>(i)).setAsString(0, 0, "s" + std::to_string(i));
        AreaName& name = book.areaNames().add();
        name.setAreaName("Top");
        name.setNameDef("'Sheet 1'!$A$1");
        std::vector<RawRecord> records = writtenRecords(book); // offsets checked there
        bool biff8 = version == ExcelVersion::Excel97;
        EXPECT_EQ(withId(records, record::BoundSheet).size(), 3u);
        EXPECT_EQ(withId(records, record::Bof).size(), 4u);
        size_t globalsEnd = indexOf(records, record::Eof);
        if (biff8) {
            EXPECT_LT(indexOf(records, record::Name), indexOf(records, record::Sst));
            EXPECT_LT(indexOf(records, record::Sst), globalsEnd);
            EXPECT_LT(indexOf(records, record::ExtSst), globalsEnd);
            EXPECT_EQ(withId(records, record::Window1).size(), 1u);
        } else {
            EXPECT_EQ(withId(records, record::Window1).size(), 4u); // one in each worksheet
            size_t sheetWindow = indexOf(records, record::Window1, globalsEnd);
            EXPECT_GT(sheetWindow, indexOf(records, record::Label, globalsEnd));
            for (uint16_t id : {record::SupBook, record::ExternSheet, record::Name})
                EXPECT_TRUE(withId(records, id).empty()) << id;
        }
    }
}

TEST(WriterTest, MergedRangesHyperlinksAndValidations) {
    Workbook book;
    Sheet& sheet = book.sheets().item(0);
    for (int i = 0; i < 2000; ++i) {
        MergedCell& range = sheet.mergedCells().add();
        range.row1 = range.row2 = i;
        range.col1 = 0;
        range.col2 = 1;
    }
    sheet.hyperlinks().push_back({"Quillan\thttp://example.com/", cellKey(2, 3)});
    sheet.hyperlinks().push_back({"no target", cellKey(2, 4)});
    DataValidation& rule = sheet.validations().add();
    rule.type = ValidationType::List;
    rule.inputTitle = "Pick";
    rule.setExpression1("\"a,b\"");
    rule.areas.push_back({0, 9, 1, 1});
    sheet.validations().add(); // no areas: not written
    std::vector<RawRecord> records = writtenRecords(book);
    std::vector<RawRecord> merged = withId(records, record::MergedCells);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(wordAt(merged[0].body, 0), 1027);
    EXPECT_EQ(wordAt(merged[1].body, 0), 973);
    std::vector<RawRecord> links = withId(records, record::HLink);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].body.size(), 60u + 2 * 7 + 2 * 19);
    EXPECT_EQ(withId(records, record::Dv).size(), 1u);
    EXPECT_EQ(withId(records, record::DVal)[0].body.substr(14), std::string("\x01\0\0\0", 4));

    test::ScratchFolder folder;
    Workbook back;
    roundTrip(book, back, folder.file("links.xls"));
    Sheet& read = back.sheets().item(0);
    EXPECT_EQ(read.mergedCells().count(), 2000u);
    ASSERT_EQ(read.hyperlinks().size(), 1u);
    EXPECT_EQ(read.hyperlinks()[0].text, "Quillan\thttp://example.com/");
    ASSERT_EQ(read.validations().count(), 1u);
    EXPECT_EQ(read.validations().item(0).inputTitle, "Pick");
    EXPECT_EQ(read.validations().item(0).errorTitle, "");
    EXPECT_EQ(read.validations().item(0).expression1(), "\"a,b\"");
}

TEST(WriterTest, WhatIsWrittenReadsBack) {
    test::ScratchFolder folder;
    for (ExcelVersion version :
         {ExcelVersion::Excel97, ExcelVersion::Excel50, ExcelVersion::Excel40}) {
        Workbook book;
        book.setVersion(version);
        book.userName = "Mailer";
        book.date1904 = true;
        Sheet& sheet = book.sheets().item(0);
        sheet.setName("List");
        sheet.setFloat(0, 0, -12.5, -1);
        sheet.setInteger(1, 0, 90210, -1);
        sheet.setString(2, 0, "Caf\xE9", -1);
        sheet.setBoolean(3, 0, true, -1);
        sheet.setError(4, 0, 7, -1);
        sheet.setBlank(5, 0, -1);
        sheet.setNumberFormula(0, 1, book.encoder().encode("A1*2").tokens(), -1, -25);
        sheet.setBooleanFormula(1, 1, book.encoder().encode("1>2").tokens(), -1, false);
        sheet.printSettings().setHeader("Page &P");
        sheet.printSettings().marginTop = 0.75;
        sheet.printSettings().horizPagebreaks.push_back({10, 0, 255});
        sheet.defaultColWidth = 12;
        XFont& bold = book.fonts().add();
        bold.name = "Courier New";
        bold.style = XFont::Bold;
        CellFormat& format = book.formats().add();
        format.fontIndex = 5;
        format.setNumberFormat("0.000");
        sheet.setFloat(0, 2, 3.14159, 1);

        Workbook back;
        roundTrip(book, back,
                  folder.file("back" + std::to_string(static_cast<int>(version)) + ".xls"));
        EXPECT_EQ(back.version(), version);
        Sheet& read = back.sheets().item(0);
        if (version != ExcelVersion::Excel40) {
            EXPECT_EQ(read.name(), "List");
        }
        EXPECT_EQ(read.getAsString(0, 0), "-12.5");
        EXPECT_EQ(read.getAsInteger(1, 0), 90210);
        EXPECT_EQ(read.getAsString(2, 0), "Caf\xE9");
        EXPECT_EQ(read.getAsString(3, 0), "TRUE");
        EXPECT_EQ(read.getAsString(4, 0), "#N/A");
        EXPECT_EQ(read.getCellType(5, 0), CellType::Blank);
        EXPECT_EQ(read.getAsString(0, 1), "-25");
        EXPECT_EQ(read.getAsString(1, 1), "FALSE");
        back.showFormulas = true;
        EXPECT_EQ(read.getAsString(0, 1), "A1*2");
        EXPECT_EQ(read.printSettings().header(), "Page &P");
        EXPECT_EQ(read.printSettings().marginTop, 0.75);
        EXPECT_EQ(read.defaultColWidth, 12);
        EXPECT_EQ(read.lastRow, 2);
        EXPECT_EQ(read.lastCol, 5);
        EXPECT_EQ(back.userName, "Mailer");
        EXPECT_TRUE(back.date1904);
        EXPECT_FALSE(back.optionsDialog().precisionAsDisplayed);
        // The cell's format, its font and its number format came along.
        const CellFormat& readFormat =
            back.formats().item(static_cast<size_t>(read.getCell(0, 2)->xf()));
        EXPECT_EQ(back.fonts().item(static_cast<size_t>(readFormat.fontIndex)).name, "Courier New");
        EXPECT_EQ(readFormat.numberFormat(), "0.000");
        if (version != ExcelVersion::Excel40) {
            EXPECT_EQ(read.printSettings().horizPagebreaks.size(), 1u);
        }
    }
}

TEST(WriterTest, VersionsAndSheetsThatCannotBeWritten) {
    test::ScratchFolder folder;
    Workbook book;
    book.setFilename(folder.file("four.xls"));
    book.setVersion(ExcelVersion::Excel40);
    book.sheets().add();
    book.sheets().add();
    EXPECT_EQ(errorOf([&] { book.write(); }),
              "Can not write a workbook of several sheets as an Excel 4.0 file");
    EXPECT_EQ(folder.entryCount(), 0u);

    book.clear();
    book.sheets().item(0).setAsString(3, 7, "x");
    std::vector<RawRecord> records = writtenRecords(book);
    EXPECT_EQ(records[0].id, record::Bof4);
    EXPECT_TRUE(withId(records, record::BoundSheet).empty());
    // The dimensions come from the cells.
    std::vector<RawRecord> dimensions = withId(records, record::Dimensions);
    ASSERT_EQ(dimensions.size(), 1u);
    EXPECT_EQ(dimensions[0].body, std::string("\x07\0\x08\0\x03\0\x04\0\0\0", 10));

    book.sheets().item(0).setAsString(0, 16384, "beyond the rows of BIFF4 and BIFF5");
    EXPECT_EQ(errorOf([&] { book.write(); }),
              "Sheet \"Sheet 1\" has more rows than an Excel 4.0 file holds");
    book.setVersion(ExcelVersion::Excel50);
    EXPECT_THROW(book.write(), XlsError);
    EXPECT_EQ(folder.entryCount(), 0u);
}

TEST(WriterTest, AFailedWriteLeavesTheFileAsItWas) {
    test::ScratchFolder folder;
    std::string path = folder.file("list.xls");
    Workbook book;
    book.sheets().item(0).setAsString(0, 0, "original");
    book.setFilename(path);
    book.write();
    std::string original = readFile(path);

    book.sheets().item(0).setError(1, 0, 0, -1); // no error value
    EXPECT_EQ(errorOf([&] { book.write(); }), "Invalid error value in cell 0:1");
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(folder.entryCount(), 1u);

    book.sheets().item(0).setBlank(1, 0, -1);
    book.setVersion(ExcelVersion::Excel50);
    book.sheets().item(0).setAsString(2, 0, std::string(256, 'x'));
    EXPECT_EQ(errorOf([&] { book.write(); }),
              "The text of cell C1 on sheet \"Sheet 1\" is longer than the 255 characters a "
              "cell of an Excel 5.0 file holds.");
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(folder.entryCount(), 1u);

    Workbook elsewhere;
    elsewhere.setFilename(folder.file("no such folder/list.xls"));
    EXPECT_THROW(elsewhere.write(), XlsError);
    if (geteuid() != 0) { // the superuser writes into read-only folders
        std::string locked = folder.file("locked");
        std::filesystem::create_directory(locked);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
        elsewhere.setFilename(locked + "/list.xls");
        EXPECT_THROW(elsewhere.write(), XlsError);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    }
}

TEST(WriterTest, WritingIntoTheCallersBuffer) {
    Workbook book;
    book.sheets().item(0).setAsString(0, 0, "in memory");
    std::string buffer = "head";
    book.writeToStream(buffer);
    ASSERT_GT(buffer.size(), 4u);
    EXPECT_EQ(buffer.substr(0, 4), "head");
    std::string file = buffer.substr(4);
    EXPECT_TRUE(platform::CompoundFile::hasSignature(file));
    Workbook back;
    back.readBytes(file);
    EXPECT_EQ(back.sheets().item(0).getAsString(0, 0), "in memory");
    ScratchFolder folder;
    writeFile(folder.file("memory.xls"), file);
    EXPECT_EQ(runTool("xlrd_check.py", {folder.file("memory.xls")}), "Sheet 1|in memory\n");
    std::string streams = runTool("ole_check.py", {"list", folder.file("memory.xls")});
    EXPECT_EQ(streams.substr(0, 9), "Workbook ");
    buffer += "tail"; // still the caller's to use
    EXPECT_EQ(buffer.substr(buffer.size() - 4), "tail");
}
