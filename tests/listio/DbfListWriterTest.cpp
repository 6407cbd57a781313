// Writing the sort information into a dBase table: field forms, numbering, which bytes
// change, what independent tools read back, and tables changed since they were read. Also
// workbooks and databases the program no longer holds as they were read.

#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "listio/PaveListWriter.h"
#include "tests/listio/WriterTestSupport.h"
#include "tests/support/SortTables.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>
#include <sstream>

using namespace quillan;
using namespace quillan::test;
using platform::MessageButtons;

namespace {

const std::vector<TableField> fields = {{"NAME", 'C', 12}, {"ZIP", 'C', 10}, {"SORT", 'C', 10},
                                        {"TRAY", 'C', 5},  {"PKG", 'C', 5},  {"OEL", 'C', 20}};

std::string table() {
    return dbfTable(fields, {{false, {"Ann", "75201", "old", "x", "y", "z"}},
                             {false, {"Bo", "75202"}},
                             {true, {"Gone", "75201", "keep", "k", "k", "k"}},
                             {false, {"Cy", "ABCDE", "", "", "", "old endorsement"}},
                             {false, {"Ed", "75201"}}});
}

constexpr size_t kHeader = 32 + 32 * 6 + 1;
constexpr size_t kRecord = 1 + 12 + 10 + 10 + 5 + 5 + 20;

// The bytes of one field of record k (1-based, deleted ones counted).
std::string field(const std::string& bytes, size_t k, size_t column) {
    size_t at = kHeader + (k - 1) * kRecord + 1;
    for (size_t c = 0; c < column; ++c)
        at += static_cast<size_t>(fields[c].width);
    return bytes.substr(at, static_cast<size_t>(fields[column].width));
}

bool isOutputByte(size_t offset) {
    if (offset < kHeader || offset >= kHeader + 5 * kRecord)
        return false;
    size_t k = (offset - kHeader) / kRecord + 1, inRecord = (offset - kHeader) % kRecord;
    return k != 3 && inRecord >= 1 + 12 + 10; // SORT, TRAY, PKG and OEL of a live record
}

} // namespace

TEST(DbfWriter, FieldsOfLiveRecordsGetTheirValuesAndNothingElseChanges) {
    WriterFixture f;
    std::string before = table();
    std::string path = f.write("list.dbf", before);
    f.sortAndWrite(path);
    std::string after = platform::readFileBytes(path).value();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        if (!isOutputByte(i)) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }

    const std::string label75201 = "*******5-DIGIT 75201";
    // Placed in presort order (75201: Ann, Ed; then 75202: Bo), then the rejected Cy.
    EXPECT_EQ(field(after, 1, 2), "000001    ");
    EXPECT_EQ(field(after, 5, 2), "000002    ");
    EXPECT_EQ(field(after, 2, 2), "000003    ");
    EXPECT_EQ(field(after, 4, 2), "000004    ");
    EXPECT_EQ(field(after, 1, 3), "00001");
    EXPECT_EQ(field(after, 2, 4), "00002");
    EXPECT_EQ(field(after, 5, 5), label75201);
    EXPECT_EQ(field(after, 4, 3) + field(after, 4, 4), "0000000000");
    EXPECT_EQ(field(after, 4, 5), std::string(20, ' '));
    EXPECT_EQ(field(after, 3, 2), field(before, 3, 2)) << "deleted record untouched";

    std::string sortNumbers =
        runCommand(std::string(QUILLAN_PYTHON) + " -c \"import dbfread\nfor r in dbfread.DBF('" +
                   path + "'):\n    print(int(r['SORT']))\"");
    std::istringstream in(sortNumbers);
    std::vector<int> numbers{std::istream_iterator<int>(in), std::istream_iterator<int>()};
    std::sort(numbers.begin(), numbers.end());
    std::vector<int> expected(static_cast<size_t>(f.reading.mailing.recordCount()));
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(numbers, expected) << sortNumbers;

    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has saved sorting information in the file named \"list.dbf\". Using your "
              "mailing list software, you should now sort the file in ascending order based on "
              "the field named \"SORT\".");
}

TEST(DbfWriter, UnendorsedAutomationClassBlanksTheEndorsementAndOffersBarcodes) {
    WriterFixture f;
    std::string path = f.write("list.dbf", table());
    f.sortAndWrite(path, "RAL");
    std::string after = platform::readFileBytes(path).value();
    EXPECT_EQ(field(after, 1, 5), std::string(20, ' '));
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has saved sorting information in the file named \"list.dbf\". Using your "
              "mailing list software, you should now sort the file in ascending order based on "
              "the field named \"SORT\". Before you do, would you like to add barcodes to this "
              "file?");
}

TEST(DbfWriter, TableChangedOrUnwritableSinceReadingIsLeftAsItIs) {
    enum Change { Truncated, Grown, Undeleted, TooBig };
    for (Change change : {Truncated, Grown, Undeleted, TooBig}) {
        WriterFixture f;
        std::string path = f.write("list.dbf", table());
        ASSERT_EQ(f.open(path), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        std::string changed = table();
        if (change == Truncated)
            changed.resize(kHeader + 3 * kRecord + 7);
        else if (change == Grown)
            changed += std::string(kRecord, ' ');
        else if (change == Undeleted)
            changed[kHeader + 2 * kRecord] = ' ';
        f.write("list.dbf", changed);
        f.ui().clearRecords();
        {
            FileSizeLimit limit(change == TooBig ? 300 : RLIM_INFINITY);
            test::writeSortInformation(f);
        }
        EXPECT_EQ(platform::readFileBytes(path), changed) << change;
        expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                              "\"list.dbf\".");
    }
}

TEST(OtherKindsWriter, AccessAndExcelListsNotReadAsTheyAreNowAreNotWritten) {
    for (const char* kind : {KindAccess, KindExcel}) {
        WriterFixture f;
        std::string path = f.write("list.bin", "untouched");
        f.reading.list.format = formatNamed(kind);
        f.reading.list.path = path;
        f.reading.list.state.sortColumn = 0;
        test::writeSortInformation(f);
        EXPECT_EQ(platform::readFileBytes(path), "untouched");
        expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                              "\"list.bin\".");
    }
}

TEST(OtherKindsWriter, PaveTestFileNeedsThePaveRecordsOfEveryPiece) {
    WriterFixture f;
    std::string header(67, 'H'), record(128, 'R');
    std::string path = f.write("JOB.SET", crlf({header, record, record}));
    f.reading.list.format = formatNamed(KindPave);
    f.reading.list.path = path;
    WorkTables& t = f.reading.mailing.tables;
    f.reading.list.state.listHeaderLine = header;
    t.pieces = {{.zip = 75201, .rejection = ZipRejection::Zip4Missing}, {.zip = 75201}};
    f.reading.list.lines = {record, record};
    test::addSortGroup(t, false, 1, "5D 75201", 1);
    test::addContainer(t, 1, "", "None", "5-Digit");
    test::addZipGroup(t, 75201, 1, 0, 1);
    f.reading.mailing.counters = {.rejectedCount = 1};
    f.mailClass = *MailClass::fromCode("RNML");
    std::string tst = f.env.folder() + "JOB.tst";
    EXPECT_EQ(paveTestFilePath(path), tst);

    test::writeSortInformation(f); // the sort made no PAVE records
    EXPECT_FALSE(std::filesystem::exists(tst));
    expectNotSavedOnly(f, "The sort made 0 PAVE records, but 1 pieces were found");

    f.ui().clearRecords();
    // more records than pieces: they cannot be matched up
    test::writeSortInformation(
        f, {std::string(160, 'P') + "0000002", std::string(160, 'P') + "0000003"});
    EXPECT_FALSE(std::filesystem::exists(tst));
    expectNotSavedOnly(f, "The sort made 2 PAVE records, but 1 pieces");

    f.ui().clearRecords();
    const std::string part = std::string(160, 'P') + "0000002";
    test::writeSortInformation(f, {part});
    auto lines = f.fileLines(tst);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& line : lines)
        EXPECT_EQ(line.size(), 358u);
    EXPECT_EQ(lines[1], record + "75201" + std::string(58, ' ') + part);
    EXPECT_EQ(lines[2].substr(317, 2), "XX");
    EXPECT_EQ(lines[2].substr(351), "0000003");
    EXPECT_EQ(platform::readFileBytes(path), crlf({header, record, record}));
    EXPECT_EQ(f.ui().messages().back().text, "Quillan has sorted the file named \"JOB.tst\".");
}
