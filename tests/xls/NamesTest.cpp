#include "tests/xls/XlsTestSupport.h"
#include "xls/AreaNames.h"
#include "xls/FormulaEncoder.h"
#include "xls/MergedCells.h"
#include "xls/Messages.h"
#include "xls/NameDefs.h"
#include "xls/PrintSettings.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

// A BIFF8 NAME record body: options, name, tokens, sheet index.
std::string nameRecord(uint16_t options, const std::string& name, const std::string& tokens,
                       uint16_t sheet) {
    return word(options) + std::string(1, '\0') + std::string(1, static_cast<char>(name.size())) +
           word(static_cast<uint16_t>(tokens.size())) + word(0) + word(sheet) +
           std::string(4, '\0') + std::string(1, '\0') + name + tokens;
}

struct Names {
    NameDefs defs;
    AreaNames areas;
    FormulaEncoder encoder;
    Names() {
        areas.nameDefs = &defs;
        areas.encoder = &encoder;
        areas.nameText = [](int, int, int) { return std::string("#NAME?"); };
    }
};

} // namespace

TEST(NamesTest, SupBooksExternSheetsAndExternNames) {
    NameDefs defs;
    defs.readSupBook(word(3) + std::string("\x01\x04", 2));
    ASSERT_EQ(defs.supBookCount(), 1u);
    EXPECT_EQ(defs.addSupBook(std::string("\x01\x04", 2), nullptr), 0)
        << "the own workbook's SUPBOOK is reused by lookups";
    EXPECT_EQ(defs.supBook(0).fileName, std::string("\x01\x04", 2));
    EXPECT_TRUE(defs.supBook(0).sheetNames.empty());
    // Records read are entries of their own: EXTERNSHEET counts them.
    NameDefs twice;
    twice.readSupBook(word(3) + std::string("\x01\x04", 2));
    twice.readSupBook(word(3) + std::string("\x01\x04", 2));
    EXPECT_EQ(twice.supBookCount(), 2u);

    std::string file = "\x01\x01"
                       "Cdata\x03"
                       "book.xls";
    defs.readSupBook(word(2) + word(static_cast<uint16_t>(file.size())) + std::string(1, '\0') +
                     file + word(2) + std::string("\0S1", 3) + word(2) +
                     std::string("\x01S\0"
                                 "2\0",
                                 5));
    ASSERT_EQ(defs.supBookCount(), 2u);
    EXPECT_EQ(defs.supBook(1).sheetNames, (std::vector<std::string>{"S1", "S2"}));
    EXPECT_EQ(NameDefs::encodedFileName(file, false), "C:\\data\\book.xls");
    EXPECT_EQ(NameDefs::encodedFileName(file, true), "C:\\data|book.xls");

    std::string sheets = word(300);
    for (int i = 0; i < 300; ++i)
        sheets += word(1) + word(static_cast<uint16_t>(i % 2)) + word(static_cast<uint16_t>(i % 2));
    defs.readExternSheet(sheets);
    EXPECT_EQ(defs.externSheetCount(), 300u) << "no fixed limit of 256 entries";
    EXPECT_EQ(defs.externSheetText(2, 1, 0), "[C:\\data\\book.xls]S2!");
    EXPECT_EQ(defs.externSheetText(2, 300, 0), "#NAME!");
    EXPECT_THROW(defs.readExternSheet(word(5) + word(0)), XlsError) << "a count beyond the record";

    defs.readExternName(word(0) + std::string(4, '\0') + std::string(1, '\x03') +
                        std::string("\0abc", 4) + word(2) + "\x1E\x01");
    defs.readExternName(word(0x10) + std::string(4, '\0') + std::string(1, '\x02') +
                        std::string("\0ol", 3) + "cache");
    EXPECT_EQ(defs.supBook(1).externNames[0].tokens, "\x1E\x01");
    EXPECT_EQ(defs.supBook(1).externNames[1].tokens, "cache");
    EXPECT_EQ(defs.externSheetText(2, 0, 1), "abc");
    EXPECT_EQ(defs.externSheetText(2, 0, 2), "[OLE]");
    EXPECT_THROW(
        defs.readExternName(word(0x02) + std::string(4, '\0') + std::string(1, '\x09') + "\0ab"),
        XlsError)
        << "a name longer than its record";
    NameDefs empty;
    try {
        empty.addExternName(0, "x", "");
        FAIL();
    } catch (const XlsError& e) {
        EXPECT_STREQ(e.what(), "No SUPBOOK for EXTERNNAME");
    }
}

TEST(NamesTest, NameRecordsKeepTheirIndexesAndUserNamesBecomeAreaNames) {
    Names n;
    n.defs.readName(nameRecord(0x0020, "\x07", std::string(11, '\x3B'), 1), n.areas);
    n.defs.readName(nameRecord(0, "Total", "\x1E\x05\x00", 1), n.areas);
    n.defs.readName(nameRecord(0, "Total", "\x1E\x06\x00", 2),
                    n.areas); // a local name of another sheet
    n.defs.readName(nameRecord(0, "Other", "\x1E\x07\x00", 0), n.areas);
    ASSERT_EQ(n.defs.nameCount(), 4u) << "every NAME record counts for the tokens that name it";
    EXPECT_EQ(n.defs.name(3).name, "Other");
    ASSERT_EQ(n.areas.count(), 2u);
    EXPECT_EQ(n.areas.item(0).areaName(), "Total");
    EXPECT_EQ(n.areas.item(0).linkedName, 1);
    EXPECT_EQ(n.areas.item(1).linkedName, 3);
    EXPECT_EQ(n.defs.findName("TOTAL"), 1);
    EXPECT_EQ(n.defs.externSheetText(0, 0, 4), "Other");
    EXPECT_EQ(n.defs.externSheetText(0, 0, 5), "#NAME!");

    n.areas.item(1).setNameDef("1+2");
    EXPECT_EQ(n.areas.item(1).nameDef(), "1+2");
    EXPECT_EQ(n.defs.name(3).tokens, n.areas.item(1).tokens())
        << "the linked workbook name follows";

    auto message = [&](std::string_view text) {
        try {
            n.areas.item(1).setAreaName(text);
        } catch (const XlsError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(message("  "), "Name is missing");
    EXPECT_EQ(message("total"), "There is allready an area named \"total\"");
    EXPECT_EQ(message("Sum2"), "");
    EXPECT_EQ(n.areas.add().areaName(), "Area3");
}

TEST(NamesTest, PrintTitlesAreOneNameReplacedInPlace) {
    NameDefs defs;
    defs.setPrintTitles(0, -1, -1, 0, 1);
    ASSERT_EQ(defs.nameCount(), 1u);
    const WorkbookName& rows = defs.name(0);
    EXPECT_EQ(rows.options, 0x0020);
    EXPECT_EQ(rows.sheetIndex, 1);
    EXPECT_EQ(rows.tokens,
              std::string("\x3B", 1) + word(0) + word(0) + word(1) + word(0xC000) + word(0xC0FF));
    EXPECT_EQ(defs.supBook(0).fileName, std::string("\x01\x04", 2));
    EXPECT_EQ(defs.externSheet(0).firstSheet, 0);

    defs.addName(0, 0, "", "Later", 0);
    defs.setPrintTitles(0, 2, 3, 0, 1);
    ASSERT_EQ(defs.nameCount(), 2u);
    EXPECT_EQ(defs.name(0).tokens.size(), 26u);
    EXPECT_EQ(defs.name(0).tokens.substr(0, 3), std::string("\x29\x17\x00", 3));
    EXPECT_EQ(defs.name(1).name, "Later") << "replacing the titles keeps the names after them";
    EXPECT_EQ(defs.externSheetCount(), 1u) << "the sheet's EXTERNSHEET entry is reused";

    defs.setPrintTitles(2, 4, 4, -1, -1);
    EXPECT_EQ(defs.name(2).tokens, std::string("\x3B", 1) + word(1) + word(0) + word(0xFFFF) +
                                       word(0xC004) + word(0xC004))
        << "the tokens name the EXTERNSHEET entry of the sheet";
}

TEST(NamesTest, PrintSettingsRangesAndLimits) {
    std::vector<std::string> messages;
    PrintSettings settings;
    settings.onMessage = [&](const std::string& m) { messages.push_back(m); };
    std::vector<int> titles;
    settings.onPrintTitles = [&](int c1, int c2, int r1, int r2) { titles = {c1, c2, r1, r2}; };
    settings.setRowsOnEachPage("2:5");
    EXPECT_EQ(settings.rowsOnEachPage(), "2:5");
    EXPECT_EQ(titles, (std::vector<int>{-1, -1, 2, 5}));
    settings.setRowsOnEachPage("-1:3");
    EXPECT_EQ(settings.rowsOnEachPage(), "-1:-1");
    for (const char* bad : {"5:2", "3", "x:4", "-2:4", "1:y"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(settings.setColsOnEachPage(bad), XlsError);
    }
    EXPECT_EQ(settings.colsOnEachPage(), "-1:-1");

    settings.setHeader(std::string(255, 'h'));
    settings.setHeader(std::string(256, 'x'));
    EXPECT_EQ(settings.header(), std::string(255, 'h'));
    settings.setFooter(std::string(256, 'x'));
    EXPECT_EQ(messages, (std::vector<std::string>{"Header is limited to max 255 characthers",
                                                  "Footer is limited to max 255 characthers"}));

    settings.paperSize = PaperSize::Letter;
    settings.marginTop = 1.5;
    settings.horizPagebreaks.push_back({});
    settings.reset();
    EXPECT_EQ(settings.paperSize, PaperSize::Letter);
    EXPECT_EQ(settings.marginTop, -1);
    EXPECT_TRUE(settings.horizPagebreaks.empty());
    EXPECT_EQ(settings.rowsOnEachPage(), "-1:-1");
    EXPECT_EQ(HorizPagebreak{}.col2, 255);
    EXPECT_EQ(VertPagebreak{}.row2, 65535);
}

TEST(NamesTest, MergedRangesMayNotShareACell) {
    MergedCells cells;
    cells.add() = {0, 0, 1, 1};
    cells.add() = {1, 1, 2, 2};
    EXPECT_FALSE(cells.valid(0));
    EXPECT_FALSE(cells.valid(1));
    cells.item(1) = {2, 0, 3, 1}; // beside the first, no shared cell
    EXPECT_TRUE(cells.valid(0));
    EXPECT_TRUE(cells.valid(1));
    cells.add() = {5, 0, 4, 0};
    EXPECT_FALSE(cells.valid(2)) << "Col1 > Col2";
    cells.item(2) = {5, 3, 5, 2};
    EXPECT_FALSE(cells.valid(2)) << "Row1 > Row2";
}
