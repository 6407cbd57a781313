// A workbook written back in the version it was read in keeps what the library does not
// model: every record other than the cells, counted by type in each substream, and its
// defined names byte for byte.

#include "tests/xls/StructureCheck.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"
#include "xls/XlsUtils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <set>

using namespace xls;
using namespace xls::test;
namespace id = xls::record;

namespace {

// Records that are the cells' own (values, formulas and what follows them, the shared
// strings) or that only locate records (INDEX, DBCELL, EXTSST), and the pieces of long
// records: a writer makes them anew.
bool isCellMatter(uint16_t id) {
    static const std::set<uint16_t> ids = {0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,
                                           0x0206, 0x0406, 0x0201, 0x0203, 0x0204, 0x0205, 0x027E,
                                           0x007E, 0x00BD, 0x00BE, 0x00D6, 0x00FD, 0x0207, 0x0221,
                                           0x04BC, 0x00BC, 0x00FC, 0x00FF, 0x003C, 0x020B, 0x00D7};
    return ids.count(id) > 0;
}

bool isBof(uint16_t id) {
    return id == 0x0009 || id == 0x0209 || id == 0x0409 || id == 0x0809;
}

// Record counts by id, one map per top-level substream (an embedded chart counts in the
// sheet that holds it); what stands between substreams (the padding of a stream) is no
// record of any.
std::vector<std::map<uint16_t, int>> countsBySubstream(const std::string& stream) {
    std::vector<std::map<uint16_t, int>> substreams;
    int depth = 0;
    for (const RawRecord& r : recordsOf(stream)) {
        if (isBof(r.id) && depth++ == 0)
            substreams.emplace_back();
        if (depth == 0)
            continue;
        if (!isCellMatter(r.id))
            ++substreams.back()[r.id];
        if (r.id == 0x000A)
            --depth;
    }
    return substreams;
}

std::vector<std::string> nameBodies(const std::string& stream) {
    std::vector<std::string> names;
    for (const RawRecord& r : recordsOf(stream))
        if (r.id == 0x0018 || r.id == 0x0218)
            names.push_back(r.body);
    return names;
}

// A structure problem without its positions and numbers.
std::string kindOfProblem(const std::string& problem) {
    std::string kind;
    for (char c : problem)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            kind += c;
        else if (kind.empty() || kind.back() != '#')
            kind += '#';
    return kind;
}

std::string describe(const std::map<uint16_t, int>& before, const std::map<uint16_t, int>& after) {
    std::string text;
    std::set<uint16_t> ids;
    for (const auto& [id, n] : before)
        ids.insert(id);
    for (const auto& [id, n] : after)
        ids.insert(id);
    for (uint16_t id : ids) {
        int a = before.count(id) ? before.at(id) : 0;
        int b = after.count(id) ? after.at(id) : 0;
        if (a != b) {
            char buffer[48];
            std::snprintf(buffer, sizeof buffer, " %04X:%d->%d", id, a, b);
            text += buffer;
        }
    }
    return text;
}

std::vector<uint16_t> idsOf(const std::vector<RawRecord>& records) {
    std::vector<uint16_t> ids;
    for (const RawRecord& r : records)
        ids.push_back(r.id);
    return ids;
}

// Reads a file, sets a cell as the program does with sort information, writes it back.
std::string writtenBack(const std::string& file, int col = 5, int row = 0) {
    Workbook book;
    book.readBytes(file);
    book.sheets().item(0).setAsString(col, row, "00001");
    std::string out;
    book.writeToStream(out);
    return out;
}

std::string utf16Bytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += word(static_cast<uint16_t>(c));
    return bytes;
}

// A BIFF8 LABEL of 8-bit text, and a NUMBER.
std::string label8(uint16_t row, uint16_t col, const std::string& text) {
    return test::record(id::Label, word(row) + word(col) + word(0) +
                                       word(static_cast<uint16_t>(text.size())) +
                                       std::string(1, '\0') + text);
}

std::string number(uint16_t row, uint16_t col, double value) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return test::record(id::Number, word(row) + word(col) + word(0) + bytes);
}

// A hyperlink string: its characters with their terminating zero, counted.
std::string linkString(const std::u16string& text) {
    return dword(static_cast<uint32_t>(text.size() + 1)) + utf16Bytes(text) + word(0);
}

} // namespace

TEST(WriteBackTest, EveryCorpusWorkbookKeepsItsRecordsAndNames) {
    REQUIRE_XLS_CORPUS();
    int written = 0;
    for (const std::string& path : corpusWorkbooks()) {
        std::string file = readFile(path);
        Workbook book;
        book.preserveMacros = true;
        book.setFilename(path);
        try {
            book.read();
        } catch (const std::exception&) {
            continue; // damaged or encrypted: refused on reading, which other tests check
        }
        if (book.version() < ExcelVersion::Excel40)
            continue;
        std::string out;
        try {
            book.writeToStream(out);
        } catch (const std::exception& e) {
            ADD_FAILURE() << path << ": " << e.what();
            continue;
        }
        ++written;
        std::string before = workbookStream(file);
        std::string after = workbookStream(out);
        auto countsBefore = countsBySubstream(before);
        auto countsAfter = countsBySubstream(after);
        if (countsBefore.size() != countsAfter.size()) {
            ADD_FAILURE() << path << ": " << countsBefore.size() << " substreams became "
                          << countsAfter.size();
            continue;
        }
        for (size_t i = 0; i < countsBefore.size(); ++i)
            if (countsBefore[i] != countsAfter[i])
                ADD_FAILURE() << path << " substream " << i << ":"
                              << describe(countsBefore[i], countsAfter[i]);
        EXPECT_EQ(nameBodies(before), nameBodies(after)) << path;
        // No fault of the structure that the file did not have already.
        std::set<std::string> faultsBefore;
        for (const std::string& problem : checkWorkbookStructure(file))
            faultsBefore.insert(kindOfProblem(problem));
        for (const std::string& problem : checkWorkbookStructure(out))
            EXPECT_TRUE(faultsBefore.count(kindOfProblem(problem))) << path << ": " << problem;
    }
    EXPECT_GT(written, 200);
}

// Hidden and very hidden sheets stay hidden; the workbook's and each sheet's protection,
// passwords included, stays on in both versions that carry it.
TEST(WriteBackTest, HiddenSheetsAndProtectionGoBackAsTheyWere) {
    const std::string password = test::record(id::Password, word(0xCE4B));
    const std::string globals =
        test::record(id::WindowProtect, word(1)) + test::record(id::Protect, word(1)) + password;
    const std::string sheetProtection = test::record(id::Protect, word(1)) +
                                        test::record(0x0063, word(1)) +
                                        test::record(0x00DD, word(1)) + password;
    for (bool biff8 : {true, false}) {
        SCOPED_TRACE(biff8);
        std::vector<SheetSpec> sheets = {{"List", sheetProtection + number(0, 0, 75201), 0x0010, 0},
                                         {"Hidden", "", 0x0010, 1},
                                         {"Secret", "", 0x0010, 2}};
        std::string file = biff8 ? compoundFile(biff8Sheets(globals, sheets))
                                 : compoundFile(biff5Sheets(globals, sheets), "Book");
        Workbook book;
        book.readBytes(file);
        EXPECT_TRUE(book.sheets().item(0).has(Sheet::Protected));
        EXPECT_EQ(book.sheets().item(2).visibility, 2);

        std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
        ASSERT_EQ(written.size(), 4u);
        std::vector<uint8_t> visibility;
        for (const std::string& body : bodiesOf(written[0], id::BoundSheet))
            visibility.push_back(static_cast<uint8_t>(body[4]));
        EXPECT_EQ(visibility, (std::vector<uint8_t>{0, 1, 2}));
        EXPECT_EQ(bodiesOf(written[0], id::WindowProtect), std::vector<std::string>{word(1)});
        EXPECT_EQ(bodiesOf(written[0], id::Protect), std::vector<std::string>{word(1)});
        EXPECT_EQ(bodiesOf(written[0], id::Password), std::vector<std::string>{word(0xCE4B)});
        for (uint16_t id : {id::Protect, uint16_t{0x0063}, uint16_t{0x00DD}})
            EXPECT_EQ(bodiesOf(written[1], id), std::vector<std::string>{word(1)}) << id;
        EXPECT_EQ(bodiesOf(written[1], id::Password), std::vector<std::string>{word(0xCE4B)});
        EXPECT_TRUE(bodiesOf(written[2], id::Protect).empty());
    }
}

// A defined name whose formula is an array constant keeps the constant's data behind its
// tokens: the record goes back byte for byte, the definition reads as the array, and a
// definition set anew brings its own array data.
TEST(WriteBackTest, NamesKeepTheirArrayConstants) {
    const std::string tokens = std::string("\x60\x02\0\0\0\0\0\0", 8);
    const std::string arrayData = std::string("\x02\0\0", 3) + std::string("\x02\x01\0\0A", 5) +
                                  std::string("\x02\x02\0\0CC", 6) +
                                  std::string("\x02\x03\0\0BBB", 7);
    const std::string name = word(0) + std::string("\0\x07", 2) + word(8) + word(0) + word(0) +
                             dword(0) + std::string(1, '\0') + "n_array" + tokens + arrayData;
    std::string file =
        compoundFile(biff8Sheets(test::record(id::Name, name), {{"S", number(0, 0, 1)}}));
    Workbook book;
    book.readBytes(file);
    ASSERT_EQ(book.areaNames().count(), 1u);
    EXPECT_EQ(book.areaNames().item(0).nameDef(), "{\"A\",\"CC\",\"BBB\"}");

    std::string out = writtenBack(file);
    EXPECT_EQ(bodiesOf(substreamsOf(out)[0], id::Name), std::vector<std::string>{name});

    book.areaNames().item(0).setNameDef("{1,2;3,4}");
    out.clear();
    book.writeToStream(out);
    Workbook back;
    back.readBytes(out);
    EXPECT_EQ(back.areaNames().item(0).nameDef(), "{1,2;3,4}");
}

// Links to a web page, to a place in the workbook and of a kind the library does not read go
// back as they were, a tip behind its link; a link made in memory is written as a URL link.
TEST(WriteBackTest, HyperlinksAreReadAndWritten) {
    const std::string stdLink("\xD0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B",
                              16);
    const std::string urlMoniker("\xE0\xC9\xEA\x79\xF9\xBA\xCE\x11\x8C\x82\x00\xAA\x00\x4B\xA9\x0B",
                                 16);
    auto link = [&](uint16_t row, uint32_t flags, const std::string& rest) {
        return word(row) + word(row) + word(0) + word(0) + stdLink + dword(2) + dword(flags) + rest;
    };
    const std::string web = link(0, 0x17,
                                 linkString(u"Example") + urlMoniker + dword(40) +
                                     utf16Bytes(u"http://example.com/") + word(0));
    const std::string place = link(1, 0x1C, linkString(u"Go") + linkString(u"Sheet2!A1"));
    const std::string other = link(2, 0x03, std::string(16, '\x55') + dword(4) + "abcd");
    const std::string tip =
        word(0x0800) + word(1) + word(1) + word(0) + word(0) + utf16Bytes(u"Tip") + word(0);
    std::string sheet = number(0, 0, 1) + test::record(id::HLink, web) + test::record(0x0800, tip) +
                        test::record(id::HLink, place) + test::record(id::HLink, other);
    std::string file = compoundFile(biff8Sheets("", {{"S", sheet}}));
    Workbook book;
    book.readBytes(file);
    std::vector<Hyperlink>& links = book.sheets().item(0).hyperlinks();
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].text, "Example\thttp://example.com/");
    EXPECT_EQ(links[1].text, "Go\t#Sheet2!A1");
    EXPECT_EQ(links[2].text, "");
    links.push_back({"New\thttp://new.example/", cellKey(3, 4), {}, {}});

    std::string out;
    book.writeToStream(out);
    std::vector<RawRecord> written = substreamsOf(out)[1];
    EXPECT_EQ(bodiesOf(written, id::HLink).size(), 4u);
    std::vector<std::string> read = {web, place, other};
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_EQ(bodiesOf(written, id::HLink)[i], read[i]) << i;
    std::vector<uint16_t> ids = idsOf(written);
    auto first = std::find(ids.begin(), ids.end(), id::HLink);
    ASSERT_NE(first, ids.end());
    EXPECT_EQ(*(first + 1), 0x0800) << "the tip behind its link";
    Workbook back;
    back.readBytes(out);
    ASSERT_EQ(back.sheets().item(0).hyperlinks().size(), 4u);
    EXPECT_EQ(back.sheets().item(0).hyperlinks()[3].text, "New\thttp://new.example/");
    EXPECT_EQ(back.sheets().item(0).hyperlinks()[3].key, cellKey(3, 4));
}

// Conditional formats, an autofilter, a pivot table view and its cache's stream, a data
// table behind its formula and a custom view (whose own settings are not the sheet's) go
// back in their places while cells change around them.
TEST(WriteBackTest, RecordsTheLibraryDoesNotModelStayInTheirPlaces) {
    const std::string table = test::record(0x0236, std::string(16, '\x11'));
    const std::string formula =
        test::record(id::Formula, word(1) + word(1) + word(0) + std::string(8, '\0') + word(0) +
                                      dword(0) + word(5) + std::string("\x02\x01\0\x01\0", 5));
    const std::string view = test::record(0x01AA, std::string(12, '\x22')) +
                             test::record(id::Selection, std::string(15, '\0')) +
                             test::record(id::Header, word(4) + std::string(1, '\0') + "view") +
                             test::record(0x01AB, word(1));
    const std::string after = test::record(0x009D, word(2)) +
                              test::record(0x01B0, std::string(12, '\x33')) +
                              test::record(0x01B1, std::string(6, '\x44')) +
                              test::record(0x00B0, std::string(20, '\x55'));
    const std::string sheet = number(0, 0, 1) + formula + table + number(2, 1, 3) +
                              test::record(id::Window2, word(0x06B6) + std::string(16, '\0')) +
                              view + after;
    const std::string globals =
        test::record(0x01A9, std::string(20, '\x66')) + test::record(0x00D5, word(1));
    std::string file = compoundFile(biff8Sheets(globals, {{"S", sheet}}));
    Workbook book;
    book.readBytes(file);
    EXPECT_EQ(book.sheets().item(0).printSettings().header(), "");

    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file, 4, 2));
    const std::vector<RawRecord>& records = written[1];
    std::vector<uint16_t> ids = idsOf(records);
    size_t formulaAt = std::find(ids.begin(), ids.end(), id::Formula) - ids.begin();
    ASSERT_LT(formulaAt + 1, ids.size());
    EXPECT_EQ(records[formulaAt + 1].id, 0x0236) << "the table behind its formula";
    EXPECT_EQ(records[formulaAt + 1].body, std::string(16, '\x11'));
    const std::vector<uint16_t> viewAndAfter = {0x01AA, id::Selection, id::Header, 0x01AB,
                                                0x009D, 0x01B0,        0x01B1,     0x00B0};
    auto kept = std::search(ids.begin(), ids.end(), viewAndAfter.begin(), viewAndAfter.end());
    ASSERT_NE(kept, ids.end());
    EXPECT_LT(std::find(ids.begin(), ids.end(), id::Window2), kept);
    EXPECT_EQ(bodiesOf(written[1], id::Header).size(), 1u) << "only the custom view's";
    EXPECT_EQ(bodiesOf(written[0], 0x01A9).size(), 1u);
    EXPECT_EQ(bodiesOf(written[0], 0x00D5).size(), 1u);
}

// A BIFF5 sheet's own external-sheet records belong to its formulas: they stay in its
// substream and do not join the workbook's.
TEST(WriteBackTest, ExternalSheetRecordsOfABiffFiveSheetStayInIt) {
    const std::string count = test::record(id::ExternCount, word(1));
    const std::string ownSheet = test::record(id::ExternSheet, std::string("\x02\x03", 2));
    const std::string externSheet = test::record(id::ExternSheet, std::string("\x06\x03Other", 7));
    const std::string externName = test::record(
        id::ExternName, word(0) + dword(0) + std::string(1, '\x04') + "col1" + word(0));
    std::string file = compoundFile(
        biff5Sheets(count + ownSheet, {{"Data", count + externSheet + externName}, {"Other", ""}}),
        "Book");
    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(bodiesOf(written[0], id::ExternSheet), std::vector<std::string>{"\x02\x03"});
    EXPECT_EQ(bodiesOf(written[1], id::ExternSheet),
              std::vector<std::string>{std::string("\x06\x03Other", 7)});
    EXPECT_EQ(bodiesOf(written[1], id::ExternName).size(), 1u);
    EXPECT_EQ(bodiesOf(written[1], id::ExternCount).size(), 1u);
}

// Text of an older file is in the code page its CODEPAGE record names: read as the characters
// it means, written back as the same bytes; a character the code page lacks refuses the
// write and names its cell.
TEST(WriteBackTest, OlderFilesKeepTheirCodePage) {
    const std::string sheetName = "\xC4\xE0\xED\xED\xFB\xE5"; // "Данные" in code page 1251
    const std::string text = "\xF0.";                         // "р."
    const std::string label = test::record(id::Label, word(0) + word(0) + word(0) + word(2) + text);
    std::string file = compoundFile(
        biff5Sheets(test::record(id::CodePage, word(1251)), {{sheetName, label}}), "Book");
    Workbook book;
    book.readBytes(file);
    EXPECT_EQ(book.sheets().item(0).wideName(), u"Данные");
    Cell* cell = book.sheets().item(0).getCell(0, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(book.sheets().strings().getWideString(cell->sstIndex()), u"р.");

    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
    EXPECT_EQ(bodiesOf(written[0], id::CodePage), std::vector<std::string>{word(1251)});
    EXPECT_EQ(bodiesOf(written[0], id::BoundSheet)[0].substr(7), sheetName);
    EXPECT_EQ(bodiesOf(written[1], id::Label)[0], word(0) + word(0) + word(0) + word(2) + text);

    book.sheets().item(0).setAsString(1, 0, "caf\xE9"); // "café": no "é" in code page 1251
    std::string out = "untouched";
    try {
        book.writeToStream(out);
        ADD_FAILURE() << "written without its é";
    } catch (const XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("The text of cell B1 on sheet"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("code page 1251 cannot hold"), std::string::npos);
    }
    EXPECT_EQ(out, "untouched");
}

// A BIFF8 workbook written as BIFF5 is refused before anything is written, naming what such
// a file cannot carry: what the library keeps as read, a text too long for a cell of that
// version, characters outside its code page. Its protection goes along.
TEST(WriteBackTest, ConversionToBiffFiveCarriesProtectionAndNamesWhatItCannot) {
    struct Case {
        std::string records;
        std::string says;
    };
    const std::string wide =
        test::record(id::Label, word(1) + word(0) + word(0) + word(1) + "\x01" + utf16Bytes(u"р"));
    const Case cases[] = {
        {test::record(0x01B0, std::string(12, '\0')),
         "This workbook holds conditional formats on sheet \"Data\" that cannot be written as "
         "an Excel 5.0 file."},
        {label8(0, 0, std::string(300, 'x')),
         "The text of cell A1 on sheet \"Data\" is longer than the 255 characters a cell of an "
         "Excel 5.0 file holds."},
        {wide, "The text of cell A2 on sheet \"Data\" has characters that an Excel 5.0 file in "
               "code page 1252 cannot hold."},
    };
    for (const Case& c : cases) {
        Workbook book;
        book.readBytes(compoundFile(biff8Sheets("", {{"Data", number(5, 0, 1) + c.records}})));
        book.setVersion(ExcelVersion::Excel50);
        std::string out = "untouched";
        try {
            book.writeToStream(out);
            ADD_FAILURE() << c.says;
        } catch (const XlsError& e) {
            EXPECT_EQ(std::string(e.what()), c.says);
        }
        EXPECT_EQ(out, "untouched");
    }

    // Protection means the same in both versions: it goes along.
    const std::string protection =
        test::record(id::Protect, word(1)) + test::record(id::Password, word(0xCE4B));
    Workbook book;
    book.readBytes(compoundFile(biff8Sheets(protection, {{"Data", protection + number(0, 0, 1)}})));
    book.setVersion(ExcelVersion::Excel50);
    std::string out;
    book.writeToStream(out);
    for (const std::vector<RawRecord>& substream : substreamsOf(out)) {
        EXPECT_EQ(bodiesOf(substream, id::Protect), std::vector<std::string>{word(1)});
        EXPECT_EQ(bodiesOf(substream, id::Password), std::vector<std::string>{word(0xCE4B)});
    }
}

namespace {

// The cell and format of each BIFF5 RSTRING with its runs: a count byte, then a character
// and a font byte each, which end the record.
std::multiset<std::string> placesAndRuns(const std::vector<std::string>& bodies) {
    std::multiset<std::string> places;
    for (const std::string& body : bodies) {
        size_t at = 8 + static_cast<uint8_t>(body[6]);
        while (at < body.size() &&
               body.size() - at != 1 + 2 * size_t{static_cast<uint8_t>(body[at])})
            ++at;
        places.insert(body.substr(0, 6) + body.substr(std::min(at, body.size())));
    }
    return places;
}

} // namespace

// Excel 5 keeps rich text in RSTRING records: they go back with their runs, and a plain
// text equal to a rich one stays plain (it must not take the other cell's fonts).
TEST(WriteBackTest, BiffFiveRichTextKeepsItsRuns) {
    auto cell = [](uint16_t recordId, uint16_t row, const std::string& text,
                   const std::string& runs) {
        return test::record(recordId, word(row) + word(0) + word(15) +
                                          word(static_cast<uint16_t>(text.size())) + text + runs);
    };
    const std::string runs("\x02\x00\x06\x05\x02", 5);
    std::string file =
        compoundFile(biff5Sheets("", {{"Data", cell(id::RString, 1, "Bold text", runs) +
                                                   cell(id::Label, 2, "Bold text", "")}}),
                     "Book");
    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
    ASSERT_EQ(written.size(), 2u);
    std::string rich = word(1) + word(0) + word(15) + word(9) + "Bold text" + runs;
    EXPECT_EQ(bodiesOf(written[1], id::RString), std::vector<std::string>{rich});
    EXPECT_EQ(bodiesOf(written[1], id::Label).size(), 2u); // the plain one and the new one

    REQUIRE_XLS_CORPUS();
    for (const char* name :
         {"sheetjs/biff5/rich_text_stress.xls", "sheetjs/biff5/phonetic_text.xls"}) {
        std::string original = readFile(corpusPath(name));
        std::vector<std::string> before =
            bodiesOf(recordsOf(workbookStream(original)), id::RString);
        std::vector<std::string> after =
            bodiesOf(recordsOf(workbookStream(writtenBack(original, 200, 200))), id::RString);
        ASSERT_FALSE(before.empty()) << name;
        EXPECT_EQ(placesAndRuns(after), placesAndRuns(before)) << name;
    }
}

// Data validations came with Excel 97: written into an Excel 5 sheet by another program, in
// whatever form it chose, they are kept as they are, not read (nor refused as damaged).
TEST(WriteBackTest, ValidationsOfABiffFiveSheetAreKeptAsTheyAre) {
    const std::string dval =
        test::record(id::DVal, word(0) + dword(0) + dword(0) + dword(0xFFFFFFFF) + dword(1));
    // Texts as BIFF5 writes them, a length byte and 8-bit characters: no flagged strings.
    const std::string dv = test::record(id::Dv, dword(0x00000103) + "\x05Title\x05Error" +
                                                    std::string("\x02\x00\x00\x00\x1E\x01\x00", 7));
    std::string number =
        test::record(id::Number, word(0) + word(0) + word(15) + std::string(8, '\0'));
    std::string file = compoundFile(biff5Sheets("", {{"Data", number + dval + dv}}), "Book");
    std::vector<std::vector<RawRecord>> written = substreamsOf(writtenBack(file));
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(bodiesOf(written[1], id::DVal), bodiesOf(recordsOf(workbookStream(file)), id::DVal));
    EXPECT_EQ(bodiesOf(written[1], id::Dv), bodiesOf(recordsOf(workbookStream(file)), id::Dv));
}
