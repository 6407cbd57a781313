// dBase tables: headers that must be refused, deleted records, and agreement with
// independent dBase tools (shapelib writes the table, dbfread reads it back).

#include "core/Convert.h"
#include "listio/DbfHeader.h"
#include "tests/listio/ListTestSupport.h"
#include "tests/support/SortTables.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

using namespace quillan;
using namespace quillan::test;

namespace {

const std::vector<TableField> addressFields = {
    {"NAME", 'C', 20}, {"CITY", 'C', 20}, {"STATE", 'C', 2}, {"ZIP", 'C', 10}, {"SORT", 'C', 6}};

std::string sampleTable() {
    return dbfTable(addressFields, {{false, {"Ann Lee", "Dallas", "TX", "75201"}},
                                    {true, {"Gone", "Waco", "TX", "76701"}},
                                    {false, {"Bo Diaz", "Austin", "tx", "78701-1234"}}});
}

} // namespace

TEST(Dbase, DeletedRecordsAreSkipped) {
    ListFixture f;
    std::string path = f.write("list.dbf", sampleTable());
    EXPECT_EQ(f.open(path), path);
    const auto& t = f.reading.mailing.tables;
    EXPECT_EQ(test::zipValues(t), (std::vector<int32_t>{75201, 78701}));
    EXPECT_EQ(test::cityTexts(t), (std::vector<std::string>{"DALLAS TX", "AUSTIN TX"}));
    EXPECT_EQ(f.reading.mailing.recordCount(), 2);
    EXPECT_EQ(f.reading.list.state.deletedRecordCount, 1);
    EXPECT_EQ(f.reading.list.state.sortColumn, 4);
    EXPECT_EQ(f.reading.list.state.dbfFieldWidths, (std::vector<int>{20, 20, 2, 10, 6}));
}

TEST(Dbase, ContentGuessVotesOverTheFirstRecordAlone) {
    // No field is named for its role: the guess must find them in the content.
    const std::vector<TableField> unnamed = {{"WHO", 'C', 10}, {"POST", 'C', 5}, {"TOWN", 'C', 12}};
    ListFixture one;
    one.setLine(&SettingsLists::prefsList, Preferences::Output, "1"); // no sort field needed
    std::string path =
        one.write("one.dbf", dbfTable(unnamed, {{false, {"ANN", "75201", "DALLAS"}}}));
    EXPECT_EQ(one.open(path), path) << "a table of one record finds its ZIP field";
    EXPECT_EQ(one.reading.list.state.zipColumn, 1);
    EXPECT_EQ(test::zipValues(one.reading.mailing.tables), (std::vector<int32_t>{75201}));

    // Records 2 and 3 have no ZIP-like field: a table still votes with record 1 alone, a text
    // list with the same records finds none.
    const std::vector<std::vector<std::string>> records = {
        {"ANN", "75201", "DALLAS"}, {"BO", "7520", "WACO TX 1"}, {"CY", "AB", "2"}};
    ListFixture table;
    path = table.write(
        "three.dbf",
        dbfTable(unnamed, {{false, records[0]}, {false, records[1]}, {false, records[2]}}));
    int guessed = -2;
    auto noteTheGuess = [&](ListFixture& f) { // the ZIP field the dialog proposes
        f.ui().whenShown("VerifyDlog", [&](platform::Form& form) {
            guessed = form.control("zip").itemIndex();
            form.control("CancelBtn").userClick();
        });
    };
    noteTheGuess(table);
    table.open(path, 0);
    EXPECT_EQ(guessed, 1);
    ListFixture text;
    std::string lines;
    for (const auto& r : records)
        lines += r[0] + "," + r[1] + "," + r[2] + "\r\n";
    path = text.write("three.txt", lines);
    noteTheGuess(text);
    text.open(path, 0);
    EXPECT_EQ(guessed, -1);
}

TEST(Dbase, EachDamagedHeaderGivesOneMessageAndNoRecords) {
    std::string good = sampleTable();
    struct Damage {
        const char* what;
        std::string bytes;
        const char* says;
    };
    std::string badVersion = good, noTerminator = good, widths = good, manyFields = good;
    badVersion[0] = 0x30;
    noTerminator[32 + 5 * 32] = ' ';
    widths[32 + 16] = 19;
    manyFields[8] = static_cast<char>(0x41); // 0x0D41 = 3393 bytes: 105 fields
    manyFields[9] = static_cast<char>(0x0D);
    std::string longRecords = good;
    longRecords[10] = static_cast<char>(10001 & 0xFF);
    longRecords[11] = static_cast<char>(10001 >> 8);
    std::vector<Damage> damages = {
        {"short", good.substr(0, 31), "too short to be a dBase table"},
        {"version", badVersion, "not a dBase III, dBase IV or FoxPro table"},
        {"terminator", noTerminator, "does not end where"},
        {"widths", widths, "field widths do not add up"},
        {"fields", manyFields, "more than 100 fields"},
        {"record length", longRecords,
         "Sorry, but the records in this file have too many characters for Quillan to handle."},
    };
    for (const auto& d : damages) {
        ListFixture f;
        EXPECT_EQ(f.open(f.write("bad.dbf", d.bytes), 0), "") << d.what;
        auto texts = f.messageTexts();
        ASSERT_EQ(texts.size(), 1u) << d.what;
        EXPECT_NE(texts[0].find(d.says), std::string::npos) << d.what << ": " << texts[0];
        EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
        EXPECT_EQ(f.formatRead(), "") << d.what;
    }
}

namespace {

std::string withStatedCount(std::string table, uint32_t n) {
    for (int i = 0; i < 4; ++i)
        table[static_cast<size_t>(4 + i)] = static_cast<char>(n >> (8 * i));
    return table;
}

const int headerBytes = 32 + 5 * 32 + 1;
const int recordBytes = 1 + 20 + 20 + 2 + 10 + 6;

} // namespace

TEST(Dbase, TableShorterThanItsHeaderSaysIsNeverReadShortWithoutAWord) {
    const std::string good = sampleTable(); // 3 records, one of them deleted
    struct Cut {
        const char* what;
        std::string bytes;
        const char* says;
        long present; // -1: refused outright
    };
    const std::vector<Cut> cuts = {
        {"inside the header", good.substr(0, 20), "too short to be a dBase table", -1},
        {"inside the field list", good.substr(0, 100), "the file ends inside it", -1},
        {"inside the first record", good.substr(0, headerBytes + 10),
         "says it holds 3 records, but the file ends after 0 records", -1},
        {"inside a middle record", good.substr(0, headerBytes + recordBytes + 7),
         "says it holds 3 records, but the file ends after 1 record:", 1},
        {"inside the last record", good.substr(0, headerBytes + 2 * recordBytes + 30),
         "says it holds 3 records, but the file ends after 2 records", 2},
        {"count 2^31-1", withStatedCount(good, 0x7FFFFFFF),
         "says it holds 2147483647 records, but the file ends after 3 records", 3},
        {"count 0", withStatedCount(good, 0), "There are no records to sort in list.dbf.", -1},
    };
    for (const Cut& cut : cuts) {
        for (bool nostop : {false, true}) {
            SCOPED_TRACE(std::string(cut.what) + (nostop ? ", NOSTOP" : ""));
            ListFixture f(nostop ? std::vector<std::string>{"", "NOSTOP"}
                                 : std::vector<std::string>{});
            std::string path = f.write("list.dbf", cut.bytes);
            if (nostop)
                f.ctx().parameters[0] = path;
            std::string read = f.open(path, nostop ? 0 : 1);
            auto texts = f.messageTexts();
            ASSERT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts);
            EXPECT_NE(texts[0].find(cut.says), std::string::npos) << texts[0];
            if (cut.present < 0 || nostop) {
                EXPECT_EQ(read, "");
                EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
                continue;
            }
            // Asked (Yes by default) whether to sort the records present: they are read.
            EXPECT_EQ(f.ui().messages()[0].buttons, platform::MessageButtons::YesNo);
            EXPECT_EQ(read, path);
            EXPECT_EQ(f.reading.list.state.dbf.records, cut.present);
        }
    }
    // No is no.
    ListFixture f;
    f.ui().answerNextMessage(platform::ModalResult::No);
    EXPECT_EQ(f.open(f.write("list.dbf", withStatedCount(good, 9)), 0), "");
}

TEST(Dbase, MemoFileIsNoTable) {
    ListFixture f;
    EXPECT_EQ(f.open(f.write("list.DBT", sampleTable()), 0), "");
    auto texts = f.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("dBase memo file"), std::string::npos);
}

TEST(Dbase, ReadsWhatIndependentToolsReadFromAShapelibTable) {
    ListFixture f;
    std::string path = f.env.folder() + "shapes.dbf";
    ASSERT_EQ(std::system(("dbfcreate " + path +
                           " -s NAME 24 -s CITY 24 -s STATE 2 -s ZIP 10 -s SORT 8 -s COUNTY 16")
                              .c_str()),
              0);
    const char* rows[][5] = {
        {"ANN LEE", "Dallas", "TX", "75201"},
        {"BO DIAZ", "Fort Worth", "TX", "76102"},
        {"CY ROSS", "Winston-Salem", "NC", "27101"},
        {"DEE LOW", "Saint Louis", "MO", "63101"},
        {"ED KAY", "Albuquerque", "NM", "87102-1234"},
        {"FAY OX", "Truth Or Consequences", "NM", "87901"},
        {"GUS BO", "Anchorage", "AK", "99501"},
        {"HAL IO", "Juneau", "AK", "998011234"},
    };
    for (const auto& r : rows) {
        std::string cmd = "dbfadd " + path;
        for (int c = 0; c < 4; ++c)
            cmd += std::string(" '") + r[c] + "'";
        cmd += " '' ''";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    // Mark record 3 deleted, as dBase does: its first byte becomes '*'.
    {
        FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        unsigned char head[12];
        ASSERT_EQ(std::fread(head, 1, 12, file), 12u);
        long h = head[8] | head[9] << 8, r = head[10] | head[11] << 8;
        std::fseek(file, h + 2 * r, SEEK_SET);
        std::fputc('*', file);
        std::fclose(file);
    }
    std::string script =
        "import dbfread\n"
        "for r in dbfread.DBF('" +
        path +
        "', encoding='latin-1'):\n"
        "    print('%s\\t%s\\t%s' % (r['ZIP'][:5], r['CITY'].upper()[:18], r['STATE'].upper()))\n";
    std::string theirs = runCommand(std::string(QUILLAN_PYTHON) + " -c \"" + script + "\"");
    ASSERT_FALSE(theirs.empty());

    ASSERT_EQ(f.open(path), path);
    std::ostringstream ours;
    const auto& t = f.reading.mailing.tables;
    for (const Piece& piece : t.pieces) {
        const std::string& city = t.cities.text(piece.city);
        ours << zeroPad(piece.zip, 5) << '\t' << city.substr(0, city.size() - 3) << '\t'
             << city.substr(city.size() - 2) << '\n';
    }
    EXPECT_EQ(ours.str(), theirs);
    EXPECT_EQ(f.reading.mailing.recordCount(), 7);
}
