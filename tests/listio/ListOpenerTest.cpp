// Opening a mailing list end to end: golden reads of every text kind and PAVE, the record
// limit, unreadable files, unattended runs, the in-county rule and the reading picture.

#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "listio/TextLineReader.h"
#include "platform/testing/RecordingCanvas.h"
#include "tests/listio/ListTestSupport.h"
#include "tests/support/SortTables.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace quillan;
using namespace quillan::test;
using platform::BeepKind;
using platform::MessageButtons;
using platform::MessageKind;
using platform::ModalResult;

namespace {

struct Expected {
    int32_t records = 0, rejected = 0;
    std::vector<int32_t> zips;
    std::vector<std::string> cities;
    std::vector<bool> inCounty; // the file's "t" and "f"
};

Expected readExpected(const std::string& name) {
    std::ifstream in(fixturePath("lists/" + name));
    Expected e;
    std::string line;
    std::getline(in, line);
    std::istringstream(line) >> e.records >> e.rejected;
    while (std::getline(in, line)) {
        auto tab1 = line.find('\t');
        auto tab2 = line.rfind('\t');
        e.zips.push_back(std::stoi(line.substr(0, tab1)));
        e.cities.push_back(line.substr(tab1 + 1, tab2 - tab1 - 1));
        e.inCounty.push_back(line.substr(tab2 + 1) == "t");
    }
    return e;
}

std::vector<std::string> fileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void expectGolden(ListFixture& f, const std::string& list, const std::string& expectations,
                  bool header) {
    std::string path = fixturePath("lists/" + list);
    f.setLine(&SettingsLists::mailTypeList, 1, "0");
    ASSERT_EQ(f.open(path), path) << list;
    Expected e = readExpected(expectations);
    const auto& t = f.reading.mailing.tables;
    EXPECT_EQ(zipValues(t), e.zips) << list;
    EXPECT_EQ(cityTexts(t), e.cities) << list;
    EXPECT_EQ(column(t.pieces, &Piece::inCounty), e.inCounty) << list;
    EXPECT_EQ(f.reading.mailing.recordCount(), e.records) << list;
    EXPECT_EQ(f.reading.mailing.counters.rejectedCount, e.rejected) << list;
    auto lines = fileLines(path);
    if (header)
        lines.erase(lines.begin());
    if (f.formatRead() == KindPave)
        for (auto& l : lines)
            l = l.substr(0, 128);
    EXPECT_EQ(f.reading.list.lines, lines) << list;
    EXPECT_TRUE(f.ui().unexpected().empty());
}

std::string zipList(long records) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(records) * 7);
    for (long i = 0; i < records; ++i)
        bytes += i % 2 ? "75201\r\n" : "01234\r\n";
    return bytes;
}

} // namespace

TEST(OpenList, GoldenReadsOfEveryTextKind) {
    for (const char* kind : {"tab", "comma", "merge", "bar"}) {
        ListFixture f;
        std::string k = kind;
        expectGolden(f, "golden-" + k + ".txt", "golden-" + k + ".exp", k == "merge" || k == "bar");
        EXPECT_EQ(f.reading.list.state.listHeaderLine.empty(), !(k == "merge" || k == "bar"));
    }
}

TEST(OpenList, GoldenReadOfPave) {
    ListFixture f;
    expectGolden(f, "golden.SET", "golden-pave.exp", true);
    EXPECT_EQ(f.formatRead(), KindPave);
    EXPECT_EQ(f.reading.list.state.listHeaderLine,
              fileLines(fixturePath("lists/golden.SET"))[0].substr(0, 67));
    EXPECT_TRUE(f.ui().formLog().size() == 1) << "only the open dialog, no field dialog";
}

TEST(OpenList, LineEndsDoNotChangeWhatIsRead) {
    std::string crlfBytes;
    {
        std::ifstream in(fixturePath("lists/golden-merge.txt"), std::ios::binary);
        crlfBytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::vector<Piece>> pieces;
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string bytes;
        for (size_t i = 0; i < crlfBytes.size(); ++i) {
            if (crlfBytes.compare(i, 2, "\r\n") == 0) {
                bytes += end;
                ++i;
            } else {
                bytes += crlfBytes[i];
            }
        }
        ListFixture f;
        ASSERT_FALSE(f.open(f.write("list.txt", bytes)).empty()) << "ending " << end[0];
        pieces.push_back(f.reading.mailing.tables.pieces);
    }
    EXPECT_EQ(pieces[1], pieces[0]);
    EXPECT_EQ(pieces[2], pieces[0]);
}

TEST(OpenList, NoChoiceReadsNothingAndNewChoiceIsRemembered) {
    ListFixture f;
    f.ui().chooseFile(std::nullopt);
    EXPECT_EQ(f.read(f.dialog, ListPurpose::Verify), "");
    EXPECT_EQ(f.ui().formLog().back(), "open Find the mailing list you wish to verify");
    std::string path = f.write("zips.txt", zipList(3));
    EXPECT_EQ(f.open(path), path);
    EXPECT_EQ(f.ctx().lists.prefsList[10], path);
    EXPECT_NE(f.env.readTable("prefs.dat").find(path), std::string::npos);
    EXPECT_EQ(f.ui().formLog()[1], "open Find the mailing list you wish to sort");
}

TEST(OpenList, ExactlyTheRecordLimitLoadsOneMoreIsRefused) {
    ListFixture f;
    std::string path = f.write("limit.txt", zipList(MaxMailingRecords));
    EXPECT_EQ(f.open(path), path);
    EXPECT_EQ(f.reading.mailing.recordCount(), 100000);
    EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 100000u);
    EXPECT_EQ(test::zipValues(f.reading.mailing.tables)[99999], 75201);

    ListFixture g;
    path = g.write("over.txt", zipList(MaxMailingRecords + 1));
    EXPECT_EQ(g.open(path), "");
    ASSERT_EQ(g.ui().messages().size(), 1u);
    const auto& box = g.ui().messages()[0];
    EXPECT_EQ(box.text, "You have tried to load more than 100,000 zip codes, exceeding the limit "
                        "of the program.");
    EXPECT_EQ(box.kind, MessageKind::Information);
    EXPECT_EQ(box.buttons, MessageButtons::Cancel);
    EXPECT_EQ(g.ui().beeps().back(), BeepKind::Asterisk);
    EXPECT_EQ(g.reading.mailing.tables.pieces.size(), 0u);
    EXPECT_EQ(g.reading.mailing.recordCount(), 0);
}

TEST(OpenList, UnreadableFilesSayWhichAndReadNothing) {
    ListFixture f;
    std::string folder = f.env.folder() + "folder.txt";
    std::filesystem::create_directory(folder);
    std::string pipe = f.env.folder() + "pipe.txt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string path, says;
    };
    for (const Case& c :
         {Case{folder, "Quillan could not read folder.txt. It is a folder, not a file."},
          Case{pipe, "Quillan could not read pipe.txt. It is not a regular file: it is a named "
                     "pipe."},
          Case{"/dev/null", "Quillan could not read null. It is not a regular file: it is a "
                            "device."},
          Case{f.env.folder() + "missing.dbf",
               "Quillan could not read missing.dbf. The file may be in use by another "
               "application. Cannot open file"}}) {
        f.ui().clearRecords();
        EXPECT_EQ(f.open(c.path, 0), "");
        ASSERT_EQ(f.ui().messages().size(), 1u) << c.path;
        const auto& box = f.ui().messages()[0];
        EXPECT_EQ(box.text.rfind(c.says, 0), 0u) << box.text;
        EXPECT_EQ(box.kind, MessageKind::Error);
        EXPECT_EQ(box.buttons, MessageButtons::Cancel);
        EXPECT_EQ(f.ui().beeps().back(), BeepKind::Exclamation);
    }
    EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
}

TEST(OpenList, AccessAndExcelFilesThatCannotBeReadSayWhy) {
    ListFixture f;
    EXPECT_EQ(f.open(f.write("members.mdb", "x"), 0), "");
    EXPECT_EQ(f.open(f.write("members.XLS", "x"), 0), "");
    auto texts = f.messageTexts();
    ASSERT_EQ(texts.size(), 2u);
    // The library's own words follow the program's, the engine's error number after them.
    EXPECT_EQ(texts[0].rfind("Quillan could not read members.mdb. '", 0), 0u) << texts[0];
    EXPECT_TRUE(texts[0].ends_with("members.mdb' is damaged, or is not a database file this "
                                   "engine can read. (Access error 3343)"))
        << texts[0];
    EXPECT_EQ(texts[1], "Quillan could not read members.XLS. It is not an Excel workbook Quillan "
                        "can read, or it is damaged (BOF is missing in file).");
}

TEST(OpenList, HeaderOnlyListReadsNothing) {
    ListFixture f;
    EXPECT_EQ(f.open(f.write("h.txt", "NAME,ZIP\r\n"), 0), "");
    EXPECT_TRUE(f.ui().formLog().size() == 1);
}

TEST(OpenList, CancelledFieldDialogReadsNothing) {
    ListFixture f;
    f.ui().pressWhenShown("VerifyDlog", "CancelBtn");
    EXPECT_EQ(f.open(f.write("z.txt", zipList(5)), 0), "");
    EXPECT_TRUE(f.ui().messages().empty());
    EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
}

// A check the roles fail is told over the field dialog, which stays open to be mended.
TEST(OpenList, FailedCheckIsToldOverTheOpenDialogUntilMended) {
    ListFixture f;
    std::string path = f.write("nozip.txt", crlf({"NAME,CITY", "ANN,WACO", "BO,AUSTIN"}));
    f.ui().pressWhenShown("VerifyDlog", "OKBtn");
    f.ui().whenShown("VerifyDlog", [](platform::Form& form) {
        form.control("zip").userSetItemIndex(1);
        form.control("OKBtn").userClick();
    });
    f.ui().chooseFile(path);
    EXPECT_EQ(f.read(f.dialog), path);
    ASSERT_EQ(f.messageTexts().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].over, "VerifyDlog");
    EXPECT_EQ(std::count(f.ui().formLog().begin(), f.ui().formLog().end(), "modal VerifyDlog"), 1)
        << "the dialog stayed open";
    EXPECT_EQ(f.reading.list.state.zipColumn, 1);
    EXPECT_EQ(test::zipValues(f.reading.mailing.tables)[0], -200000);
}

TEST(OpenList, UnattendedRunsEndAFailedCheckWithoutRecords) {
    for (const char* mode : {"NOSTOP", "duziz"}) {
        ListFixture probe;
        std::string path = probe.write("nozip.txt", crlf({"NAME,CITY", "ANN,WACO"}));
        ListFixture f({path, mode});
        EXPECT_EQ(f.open(path, 0), "") << mode;
        auto texts = f.messageTexts();
        ASSERT_EQ(texts.size(), 1u) << mode;
        EXPECT_EQ(texts[0], std::string(mode) == "NOSTOP"
                                ? "Quillan cannot proceed until you tell it which field(s) "
                                  "contains the zip codes."
                                : "Your VaveVedadov file is not set up properly. Please contact "
                                  "Duziz for help.");
        EXPECT_TRUE(f.ui().formLog().empty()) << "no open dialog, no field dialog";
        EXPECT_EQ(f.ctx().lists.prefsList[10], "");
    }
}

TEST(OpenList, ControlCharactersInACityBecomeBlanks) {
    ListFixture f;
    std::string path = f.write("c.txt", crlf({"ZIP,CITY,STATE", "75201,DAL\x01LAS,T\x7F",
                                              "75201,ABCDEFGHIJKLMNOPQ\xC3\x89X,TX"}));
    ASSERT_EQ(f.open(path), path);
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(t.cities.text(t.pieces[0].city), "DAL LAS T");
    // 18 bytes would split the two-byte capital E acute: the cut keeps whole characters.
    EXPECT_EQ(t.cities.text(t.pieces[1].city), "ABCDEFGHIJKLMNOPQ TX");
}

namespace {

// A merge list of 12,000 Periodicals pieces, `inCounty` of them in the mailer's county.
std::string countyList(int inCounty) {
    std::vector<std::string> lines = {"ZIP,STATE,COUNTY"};
    for (int i = 0; i < 12000; ++i)
        lines.push_back(i < inCounty ? "75201,tx,Dallas" : "75201,TX,COLLIN");
    return crlf(lines);
}

struct InCounty : ListFixture {
    explicit InCounty(const char* mailType = "5") {
        setLine(&SettingsLists::mailTypeList, 1, mailType);
        setLine(&SettingsLists::periodicalList, 4, "t");
        setLine(&SettingsLists::periodicalList, 5, "DALLAS");
    }
    const char* question = "For in-county rates, you must have fewer than 10000 total pcs, or, "
                           "more than half of the pcs must be incounty. This mailing appears not "
                           "to qualify. Do you want to use incounty rates anyway?";
};

} // namespace

TEST(InCountyRule, MoreThanHalfInCountyAsksNothing) {
    InCounty f;
    ASSERT_FALSE(f.open(f.write("c.txt", countyList(6001))).empty());
    EXPECT_TRUE(f.ui().messages().empty());
    EXPECT_EQ(f.reading.mailing.counters.inCountyCount, 6001);
    EXPECT_TRUE(f.reading.mailing.tables.pieces[6000].inCounty);
    EXPECT_FALSE(f.reading.mailing.tables.pieces[6001].inCounty);
}

TEST(InCountyRule, HalfInCountyAsksAndNoClearsEveryMark) {
    InCounty f;
    f.ui().answerNextMessage(ModalResult::No);
    ASSERT_FALSE(f.open(f.write("c.txt", countyList(6000))).empty());
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].text, f.question);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::OkNo);
    EXPECT_EQ(f.ui().beeps().back(), BeepKind::Asterisk);
    EXPECT_EQ(column(f.reading.mailing.tables.pieces, &Piece::inCounty),
              std::vector<bool>(12000, false));
    EXPECT_EQ(f.reading.mailing.counters.inCountyCount, 0);
    EXPECT_EQ(f.ctx().lists.periodicalList[4], "f");

    InCounty ok;
    ASSERT_FALSE(ok.open(ok.write("c.txt", countyList(6000))).empty());
    EXPECT_EQ(ok.reading.mailing.counters.inCountyCount, 6000) << "OK keeps the marks";
}

TEST(InCountyRule, OnlyPeriodicalsMarkPiecesInCounty) {
    InCounty f("2");
    ASSERT_FALSE(f.open(f.write("c.txt", countyList(3000))).empty());
    EXPECT_TRUE(f.ui().messages().empty());
    EXPECT_EQ(f.reading.mailing.counters.inCountyCount, 0);
    EXPECT_FALSE(f.reading.mailing.tables.pieces[0].inCounty);
}

TEST(ReadingPicture, DrawsThePageAndPausesInVirtualTime) {
    ListFixture f;
    long long before = f.ui().now();
    ASSERT_FALSE(f.open(f.write("Zips.TXT", zipList(10))).empty());
    // The first picture, then one step for each fifth of the list.
    EXPECT_EQ(f.ui().now() - before, 6 * 500);
    auto& image =
        dynamic_cast<platform::RecordingCanvas&>(f.window.form().control("Image1").canvas());
    const auto& log = image.log();
    EXPECT_NE(std::find(log.begin(), log.end(), "polygon 60,10 60,30 80,30"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "polygon 20,10 60,10 60,30 80,30 80,90 20,90"),
              log.end());
    EXPECT_EQ(f.window.form().control("TopLabel").caption(), "Reading");
    EXPECT_EQ(f.window.form().control("BottomLabel").caption(), "zips.txt");
    // The next list read begins with an empty picture.
    EXPECT_EQ(f.open(f.write("empty.txt", ""), 0), "");
    EXPECT_EQ(f.window.form().control("TopLabel").caption(), "");
    EXPECT_EQ(log.back(), "pen (0,0,0) 1");
}

TEST(OpenList, DamagedPaveLinesRefuseTheWholeFile) {
    std::string header(67, 'H');
    std::string piece = std::string(67, 'N') + "DALLAS" + std::string(22, ' ') + "TX" + "75201" +
                        "1234" + std::string(22, ' ');
    std::string letters = piece;
    letters.replace(97, 5, "7520A");
    for (const auto& [bad, says] : std::vector<std::pair<std::string, std::string>>{
             {piece.substr(0, 100), "Line 3 of p.SET is too short to be a PAVE record."},
             {letters, "Line 3 of p.SET has no 5-digit zip code in positions 98 to 102."}}) {
        ListFixture f;
        f.setLine(&SettingsLists::mailTypeList, 1, "3");
        EXPECT_EQ(f.open(f.write("p.SET", crlf({header, piece, bad})), 0), "");
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_EQ(f.messageTexts()[0], says + " Quillan cannot read this file.");
        EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
        EXPECT_EQ(f.reading.mailing.recordCount(), 0);
    }
    ListFixture f;
    f.setLine(&SettingsLists::mailTypeList, 1, "3");
    std::string path = f.write("p.SET", crlf({header, piece, piece.substr(0, 102)}));
    ASSERT_EQ(f.open(path, 0), path);
    // Automation: the piece with ZIP+4 is accepted, the one without is rejected.
    EXPECT_EQ(zipValues(f.reading.mailing.tables), (std::vector<int32_t>{75201, -775201}));
    const WorkTables& t = f.reading.mailing.tables;
    EXPECT_EQ(t.cities.text(t.pieces[0].city), "DALLAS TX");
}

TEST(OpenList, RefusalsSayWhatTheFileHolds) {
    std::string utf16;
    for (char c : std::string("NAME,ZIP\r\nAnn,75201\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    std::string longLine =
        "NAME,ZIP\r\nAnn,75201\r\n" + std::string(TextLineReader::MaxLineBytes + 1, 'x') + "\r\n";
    const std::string unknown = "Quillan cannot figure out the format of the file";
    struct Case {
        std::string name, bytes, begins, ends;
    };
    for (const Case& c : {
             Case{"empty.txt", "", "There are no records to sort in empty.txt.",
                  "The file is empty."},
             Case{"wide.txt", "\xFF\xFE" + utf16, unknown,
                  "The file holds UTF-16 (Unicode) text. "
                  "Please save the mailing list as plain "
                  "(ANSI) text and sort that."},
             Case{"wide2.txt", utf16, unknown, "and sort that."},
             Case{"book.xlsx", "PK\x03\x04" + std::string(40, '\0'),
                  "Quillan cannot read book.xlsx: it is an Excel 2007 or later workbook.",
                  "Save it as Excel 97-2003 (.xls) and sort that."},
             Case{"book.xls", "PK\x03\x04" + std::string(40, '\0'),
                  "Quillan cannot read book.xls: it is an Excel 2007 or later workbook.",
                  "Save it as Excel 97-2003 (.xls) and sort that."},
             Case{"long.txt", longLine, "Quillan cannot read long.txt. Line 3 of the file",
                  "Line 3 of the file is longer than 1,048,576 bytes, more than Quillan reads "
                  "as one line."},
             Case{"header.txt", "NAME,ADDRESS,ZIP\r\n",
                  "There are no records to sort in header.txt.",
                  "The file holds only its first line, the one naming the fields."},
             Case{"one.txt", "Ann,1 Elm St,75201\r\n", "There are no records to sort in one.txt.",
                  "which Quillan cannot tell from a line naming the fields."},
         }) {
        ListFixture f;
        EXPECT_EQ(f.open(f.write(c.name, c.bytes), 0), "") << c.name;
        auto texts = f.messageTexts();
        ASSERT_EQ(texts.size(), 1u) << c.name << ": " << ::testing::PrintToString(texts);
        EXPECT_EQ(texts[0].rfind(c.begins, 0), 0u) << texts[0];
        EXPECT_TRUE(texts[0].ends_with(c.ends)) << texts[0];
        EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u);
    }
}

// The open dialog offers the formats it always offered, in their order; the extension of a
// file decides its format whatever its case, and a text list is told by its first line.
TEST(ListFormats, OpenDialogFiltersAndExtensionsStayAsTheyWere) {
    std::vector<std::string> filters;
    for (const platform::FileFilter& filter : mailingListFilters())
        filters.push_back(filter.description + " " + filter.patterns.at(0));
    EXPECT_EQ(filters,
              (std::vector<std::string>{"All Files *.*", "Access *.MDB", "Excel *.XLS",
                                        "Ascii Comma-delimited *.TXT", "Ascii Tab-delimited *.TXT",
                                        "Ascii Merge *.TXT", "dBase *.DBF"}));
    auto formatOf = [](const std::string& path) {
        const ListFormat* format = formatForExtension(path);
        return std::string(format ? format->name : "");
    };
    EXPECT_EQ(formatOf("/a.b/list.mdb"), KindAccess);
    EXPECT_EQ(formatOf("LIST.Xls"), KindExcel);
    EXPECT_EQ(formatOf("memo.dbt"), KindDbase) << "refused as a memo file by the dBase format";
    EXPECT_EQ(formatOf("test.set"), KindPave);
    EXPECT_EQ(formatOf("list.txt"), "");
    EXPECT_EQ(formatOf("/a.mdb/list"), "") << "a dot in a folder is no extension";
}
