// The separate sort-information file: its two formats, one line per record whatever
// happened to the record, where it goes, and that a failed write changes nothing.

#include "tests/listio/WriterTestSupport.h"
#include "tests/support/SortTables.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;
using platform::MessageButtons;

namespace {

const std::vector<std::string> list = {
    "Ann Lee,Dallas,TX,75201",  "Bo Diaz,Dallas,TX,75202", "Cy Ross,Springfield,MA,01234",
    "Dee Low,Nowhere,XX,ABCDE", "Ed Kay,Dallas,TX,75201",
};

struct SeparateFixture : WriterFixture {
    explicit SeparateFixture(const char* format) {
        setLine(&SettingsLists::prefsList, 2, "1");
        setLine(&SettingsLists::prefsList, 3, "0");
        setLine(&SettingsLists::prefsList, 4, format);
        listPath = write("list.txt", crlf(list));
    }
    std::string listPath;
};

} // namespace

TEST(SeparateFile, CommaFormatOneLinePerRecordInListOrder) {
    SeparateFixture f("0");
    f.sortAndWrite(f.listPath, "RAF");
    std::string path = f.ctx().separateFilePath();
    EXPECT_EQ(f.fileLines(path), (std::vector<std::string>{
                                     "\"00002\",\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                                     "\"00003\",\"00003\",\"00003\",\"*******5-DIGIT 75202\"",
                                     "\"00001\",\"00001\",\"00001\",\"*******5-DIGIT 01234\"",
                                     "\"00000\",\"00000\",\"00000\",\"\"",
                                     "\"00002\",\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                                 }));
    EXPECT_EQ(f.fileLines(path).size(), static_cast<size_t>(f.reading.mailing.recordCount()));
    EXPECT_EQ(platform::readFileBytes(f.listPath), crlf(list)) << "the list itself is untouched";
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::Ok) << "no barcode offer";
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has saved sorting information in the file \"" + path + "\".");
}

TEST(SeparateFile, TabFormatAndRecordsNoGroupTakesGetZeros) {
    SeparateFixture f("1");
    ASSERT_EQ(f.open(f.listPath), f.listPath);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RAL");
    f.reading.mailing.tables.zipGroups[1].pieces = 1; // the 75201 group holds one piece only
    test::writeSortInformation(f);
    EXPECT_EQ(f.fileLines(f.ctx().separateFilePath()), (std::vector<std::string>{
                                                           "00002\t00002\t00002\t",
                                                           "00003\t00003\t00003\t",
                                                           "00001\t00001\t00001\t",
                                                           "00000\t00000\t00000\t",
                                                           "00000\t00000\t00000\t",
                                                       }));
}

TEST(SeparateFile, SplitGroupsServeInCountyRecordsFromTheirInCountyShare) {
    SeparateFixture f("1");
    AppContext& ctx = f.ctx();
    WorkTables& t = f.reading.mailing.tables;
    t.pieces = {{.zip = 75201}, {.zip = 75201, .inCounty = true}, {.zip = 75201}};
    test::addSortGroup(t, false, 1, "5D 75201", 1);
    test::addSortGroup(t, false, 2, "5D 75201", 2);
    test::addContainer(t, 1, "", "None", "5-Digit");
    test::addContainer(t, 2, "", "None", "5-Digit");
    test::addZipGroup(t, 75201, 1, 1, 1);
    test::addZipGroup(t, 75201, 2, 0, 2);
    f.mailClass = *MailClass::fromCode("PNAL");
    test::writeSortInformation(f);
    auto lines = f.fileLines(ctx.separateFilePath());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 18), "00002\t00002\t00002\t");
    EXPECT_EQ(lines[1].substr(0, 18), "00001\t00001\t00001\t");
    EXPECT_EQ(lines[2].substr(0, 18), "00002\t00002\t00002\t");
}

TEST(SeparateFile, NamedByTheUserOrTheStandardNameWhenCancelled) {
    for (bool cancel : {true, false}) {
        SeparateFixture f("0");
        f.setLine(&SettingsLists::prefsList, 3, "1");
        ASSERT_EQ(f.open(f.listPath), f.listPath);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        std::string chosen = f.env.folder() + "mine.txt";
        f.ui().chooseFile(cancel ? std::nullopt : std::optional<std::string>(chosen));
        test::writeSortInformation(f);
        std::string expected = cancel ? f.ctx().separateFilePath() : chosen;
        EXPECT_EQ(f.fileLines(expected).size(), 5u) << expected;
        EXPECT_EQ(f.ui().formLog().back(),
                  "save Choose or name a file for the sorting information");
    }
}

TEST(SeparateFile, FailedWriteKeepsTheEarlierFile) {
    SeparateFixture f("0");
    std::string earlier = "\"00001\",\"00001\",\"00001\",\"\"\r\n";
    std::string path = f.write("QLSort1.txt", earlier);
    ASSERT_EQ(path, f.ctx().separateFilePath());
    {
        FileSizeLimit limit(100);
        f.sortAndWrite(f.listPath);
    }
    EXPECT_EQ(platform::readFileBytes(path), earlier);
    expectNotSavedOnly(f, "Quillan could not write the output file");
}
