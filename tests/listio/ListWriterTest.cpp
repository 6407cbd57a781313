// The writer of each kind of list, as the sort information writer finds it.

#include "listio/ListWriter.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "platform/Interruption.h"
#include "tests/listio/WriterTestSupport.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;

namespace {

// The writer the format of that name makes.
std::unique_ptr<ListWriter> writerOf(const char* name) {
    return formatNamed(name)->writer();
}

} // namespace

TEST(ListWriter, EachKindHasItsWriter) {
    for (const char* kind : {KindTab, KindBar, KindComma, KindMerge, KindPave, KindDbase})
        EXPECT_TRUE(writerOf(kind)) << kind;
    EXPECT_FALSE(formatNamed(""));
    EXPECT_FALSE(formatNamed("Lotus"));
}

TEST(ListWriter, KindsThisVersionCannotWriteAreRefusedByName) {
    WriterFixture f;
    f.reading.list.path = f.write("list.xls", "not a workbook");
    const ReadList& list = f.reading.list;
    const SortedMailing mailing(f.reading.mailing, f.mailClass, f.ctx().lists);
    const SortInformationJob job{list, mailing, f.ctx().lists, f.ctx().separateFilePath(), {}};
    WriterProgress progress(f.ctx().progress());
    for (const char* kind : {KindAccess, KindExcel}) {
        f.ui().clearRecords();
        EXPECT_FALSE(writerOf(kind)->write(job, f.ctx().notices(), progress)) << kind;
        ASSERT_EQ(f.ui().messages().size(), 1u);
        EXPECT_NE(f.ui().messages()[0].text.find("list.xls"), std::string::npos);
    }
    // A table whose fields were all found, but with no table component to write it back
    // through, is refused rather than written through nothing.
    ReadList noComponent = list;
    noComponent.state.accessTableName = "Table1";
    noComponent.state.accessFields = {{"SORT", 10, 10, false}};
    noComponent.state.sortColumn = 0;
    f.ui().clearRecords();
    EXPECT_FALSE(
        writerOf(KindAccess)
            ->write({noComponent, mailing, f.ctx().lists, {}, {}}, f.ctx().notices(), progress));
    expectNotSavedOnly(f, "The database is no longer open");
    EXPECT_EQ(platform::readFileBytes(f.reading.list.path), "not a workbook");
}

// A stop asked for while the sort information is made (Exit in the window, a termination
// signal in an unattended run) is honoured before anything is written: the list, or the
// separate file, is as it was, nothing is left beside it and nothing is reported as failed.
TEST(ListWriter, AStopBeforeWritingLeavesTheFilesAsTheyWere) {
    const std::vector<std::string> text = {"NAME,ZIP", "Ann,75201", "Bo,75202"};
    const std::string dbf = dbfTable({{"NAME", 'C', 12}, {"ZIP", 'C', 10}, {"SORT", 'C', 10}},
                                     {{false, {"Ann", "75201"}}, {false, {"Bo", "75202"}}});
    struct Case {
        const char* what;
        const char* name;
        std::string bytes;
        const char* output; // "0": into the list, "1": a separate file
    };
    for (const Case& c :
         {Case{"text list", "list.txt", crlf(text), "0"}, Case{"dBase table", "list.dbf", dbf, "0"},
          Case{"separate file", "list.txt", crlf(text), "1"}}) {
        SCOPED_TRACE(c.what);
        WriterFixture f;
        f.setLine(&SettingsLists::prefsList, 2, c.output);
        f.setLine(&SettingsLists::prefsList, 3, "0");
        const std::string path = f.write(c.name, c.bytes);
        ASSERT_EQ(f.open(path), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        f.ui().clearRecords();
        auto entries = [&] {
            std::vector<std::string> names;
            for (const auto& e : std::filesystem::directory_iterator(f.env.folder()))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            return names;
        };
        const std::vector<std::string> before = entries();
        platform::setInterruptionRequested(true);
        SortInformationResult result = test::writeSortInformation(f);
        platform::setInterruptionRequested(false);
        EXPECT_TRUE(result.stopped);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(platform::readFileBytes(path), c.bytes);
        EXPECT_EQ(entries(), before);
        EXPECT_TRUE(f.ui().messages().empty());
    }
}
