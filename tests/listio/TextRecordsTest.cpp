// Records of text lists that are not one line each, and first lines that are no records: a
// quoted field holding line breaks, a bar header without its closing bars, a tab list's
// heading line. Each is read whole and written back with its bytes, sort after sort.

#include "listio/FormatNames.h"
#include "platform/fs/AtomicFile.h"
#include "tests/listio/WriterTestSupport.h"

#include <gtest/gtest.h>
#include <regex>

using namespace quillan;
using namespace quillan::test;

namespace {

// Records as a spreadsheet exports them: cells of two or three lines quoted, their breaks
// CR LF or a lone LF, one in the last field.
const std::vector<std::string> multiLineRecords = {
    "\"ANN LEE\",\"1 ELM ST\",DALLAS,TX,75201,DALLAS",
    "\"EASTON PARSONS\",\"977 2ND ST\r\nSUITE 5\",DALLAS,TX,75202,DALLAS",
    "\"BO DIAZ\",\"2 OAK AVE\nAPT 3\nREAR\",DALLAS,TX,75202,DALLAS",
    "\"CY ROSS\",\"3 ASH ST\",DALLAS,TX,75201,\"DALLAS\r\nCOUNTY\"",
    "\"DEE LOW\",\"\"\"THE MILL\"\"\r\n4 MILL RD\",DALLAS,TX,75202,DALLAS",
    "\"ED KAY\",\"5 PINE ST\",DALLAS,TX,75201,DALLAS",
};

// The list with the fields its sorts added to every record taken out again (quoted, of one
// line, after the record's own): what it held before, in the order written. A comma list
// names no fields, so a sort may add more to the ones an earlier sort added.
std::string withoutGainedFields(const std::string& bytes) {
    static const std::regex gained("(,\"[^\"\r\n]*\")+\r\n");
    return std::regex_replace(bytes, gained, "\r\n");
}

// Every record occurs exactly once in the text, as a whole line of it.
void expectEachRecordOnce(const std::string& text, const std::vector<std::string>& records) {
    size_t length = 0;
    for (const std::string& record : records) {
        const std::string line = "\n" + record + "\r\n";
        const size_t first = ("\n" + text).find(line);
        EXPECT_NE(first, std::string::npos) << record;
        EXPECT_EQ(("\n" + text).find(line, first + 1), std::string::npos) << record;
        length += record.size() + 2;
    }
    EXPECT_EQ(text.size(), length) << "nothing else is in the list";
}

} // namespace

// A quoted field that holds line breaks keeps its record whole, in a merge list and in a
// comma list without a header: counted once, its fields read across the break, and written
// back byte for byte, sort after sort.
TEST(TextRecords, AQuotedLineBreakKeepsItsRecordWhole) {
    for (bool merge : {true, false}) {
        SCOPED_TRACE(merge ? "merge list" : "comma list");
        WriterFixture f;
        const std::string header = "NAME,ADDRESS,CITY,STATE,ZIP,COUNTY";
        std::string bytes = crlf(multiLineRecords);
        if (merge)
            bytes = header + "\r\n" + bytes;
        const std::string path = f.write("list.txt", bytes);
        for (int sort = 1; sort <= 3; ++sort) {
            SCOPED_TRACE("sort " + std::to_string(sort));
            f.sortAndWrite(path);
            ASSERT_EQ(f.formatRead(), merge ? KindMerge : KindComma);
            EXPECT_EQ(f.reading.mailing.recordCount(), 6);
            EXPECT_EQ(f.reading.mailing.counters.rejectedCount, 0);
            EXPECT_EQ(std::count_if(f.reading.list.lines.begin(), f.reading.list.lines.end(),
                                    [](const std::string& line) {
                                        return line.rfind(multiLineRecords[1], 0) == 0;
                                    }),
                      1);
            std::string text = platform::readFileBytes(path).value_or("");
            if (merge) {
                const std::string gainedNames = header + ",tray,package,endorsement\r\n";
                ASSERT_EQ(text.substr(0, gainedNames.size()), gainedNames);
                text.erase(0, gainedNames.size());
            }
            expectEachRecordOnce(withoutGainedFields(text), multiLineRecords);
        }
    }
}

// A quote that opens a field but makes no record with the lines after it: a stray quote
// that never closes, or closes inside a field, leaves its line a record of its own, as it
// always was; one that closes as a field must, but gives the record another number of
// fields than the list's, cannot be told safely and refuses the list, naming its lines.
TEST(TextRecords, AQuoteThatMakesNoRecordIsNeverAcrossLines) {
    WriterFixture f;
    const std::string stray =
        f.write("stray.txt", crlf({"NAME,ZIP,NOTE", "Ann,75201,\"open, never", "Bo,75202,x\"y\"z",
                                   "Cy,75201,\"closed\"here", "Dee,75202,ok"}));
    ASSERT_EQ(f.open(stray), stray);
    EXPECT_EQ(f.reading.mailing.recordCount(), 4);

    WriterFixture g;
    const std::string broken =
        g.write("broken.txt", crlf({"NAME,ADDRESS,ZIP", "Ann,1 ELM,75201", "Bo,\"2 OAK",
                                    "APT 3\",75202,X", "Cy,3 ASH,75201"}));
    EXPECT_EQ(g.open(broken), "");
    ASSERT_EQ(g.messageTexts().size(), 1u);
    EXPECT_NE(g.messageTexts()[0].find("broken.txt"), std::string::npos);
    EXPECT_NE(g.messageTexts()[0].find("Line 3 of the file begins a quoted field that runs on "
                                       "to line 4, and read that way its record holds 4 fields "
                                       "where the list's records hold 3"),
              std::string::npos)
        << g.messageTexts()[0];
}

// The first line of a bar list without closing bars, and the heading line of a tab list
// (its ZIP field says "zip"), stay first, whole, with the names of the fields added; the
// heading is no record: not counted, not rejected. Sorted again, the list names those
// fields and gains no more.
TEST(TextRecords, HeadingLinesStayFirstWithTheAddedNames) {
    struct Case {
        const char* kind;
        std::vector<std::string> lines;
        std::string written;
    };
    for (const Case& c :
         {Case{KindBar,
               {"NAME|ADDRESS|ZIP|COUNTY", "Ann|1 ELM|75201|DALLAS", "Bo|2 OAK|75202|DALLAS"},
               "NAME|ADDRESS|ZIP|COUNTY|tray|package|endorsement|"},
          Case{KindTab,
               {"Name\tAddress\tZip Code\tCity", "Ann\t1 ELM\t75201\tDALLAS",
                "Bo\t2 OAK\t75202\tDALLAS", "Cy\t3 ASH\tBAD\tDALLAS"},
               "Name\tAddress\tZip Code\tCity\ttray\tpackage\tendorsement"}}) {
        SCOPED_TRACE(c.kind);
        WriterFixture f;
        const std::string path = f.write("list.txt", crlf(c.lines));
        for (int sort = 1; sort <= 2; ++sort) {
            f.sortAndWrite(path);
            ASSERT_EQ(f.formatRead(), c.kind);
            EXPECT_EQ(f.reading.mailing.recordCount(), static_cast<int32_t>(c.lines.size()) - 1);
            EXPECT_EQ(f.reading.mailing.counters.rejectedCount, c.kind == KindTab ? 1 : 0);
            const std::vector<std::string> lines = f.fileLines(path);
            ASSERT_EQ(lines.size(), c.lines.size());
            EXPECT_EQ(lines.front(), c.written) << "sort " << sort;
        }
    }
    // A tab list whose first line is a record stays a list of records.
    WriterFixture f;
    const std::string path = f.write("plain.txt", crlf({"Ann\t75201", "Bo\t75202"}));
    f.sortAndWrite(path);
    EXPECT_EQ(f.reading.mailing.recordCount(), 2);
    EXPECT_EQ(f.fileLines(path).size(), 2u);
}

// A record that a quoted field carries on past the longest line Quillan reads is refused,
// naming its lines, as a line that long is: never split into records. The list stays as it
// was. A stray quote followed by as many bytes of lines without quotes makes no such record:
// its line stays a record of its own.
TEST(TextRecords, ARecordLongerThanALineIsRefusedByItsLines) {
    std::string address;
    for (int line = 0; line < 1100; ++line)
        address += (line == 0 ? "" : "\r\n") + std::string(1000, 'A');
    WriterFixture f;
    const std::string bytes = crlf(
        {"NAME,ADDRESS,ZIP", "Ann,1 ELM,75201", "Bo,\"" + address + "\",75202", "Cy,3 ASH,75201"});
    const std::string path = f.write("runon.txt", bytes);
    EXPECT_EQ(f.open(path), "");
    ASSERT_EQ(f.messageTexts().size(), 1u);
    EXPECT_EQ(f.messageTexts()[0],
              "Quillan cannot read runon.txt. Line 3 of the file begins a quoted field that runs "
              "on to line 1102: read that way, its record is longer than 1,048,576 bytes, more "
              "than Quillan reads as one record. Please check the quotes of that record.");
    EXPECT_EQ(f.reading.mailing.recordCount(), 0);
    EXPECT_EQ(platform::readFileBytes(path), bytes);

    WriterFixture g;
    std::vector<std::string> lines = {"NAME,ADDRESS,ZIP", "Ann,1 ELM,\"75201"};
    for (int record = 0; record < 12000; ++record)
        lines.push_back("Bo" + std::to_string(record) + "," + std::string(90, 'B') + ",75202");
    const std::string stray = g.write("stray.txt", crlf(lines));
    ASSERT_EQ(g.open(stray), stray) << ::testing::PrintToString(g.messageTexts());
    EXPECT_EQ(g.reading.mailing.recordCount(), 12001);
}
