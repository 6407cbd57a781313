// The writer of each kind of list, as the sort information writer finds it.

#include "listio/ListWriter.h"
#include "listio/ListKinds.h"
#include "tests/listio/WriterTestSupport.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;

TEST(ListWriter, EachKindHasItsWriterAndTheTextKindsNeedTheirLines) {
    for (const char* kind : {KindTab, KindBar, KindComma, KindMerge, KindPave}) {
        std::unique_ptr<ListWriter> writer = listWriterFor(kind);
        ASSERT_TRUE(writer) << kind;
        EXPECT_TRUE(writer->needsRecordLines()) << kind;
    }
    ASSERT_TRUE(listWriterFor(KindDbase));
    EXPECT_FALSE(listWriterFor(KindDbase)->needsRecordLines()) << "patched in place";
    EXPECT_FALSE(listWriterFor(""));
    EXPECT_FALSE(listWriterFor("Lotus"));
}

TEST(ListWriter, KindsThisVersionCannotWriteAreRefusedByName) {
    WriterFixture f;
    f.ctx().listFileName = f.write("list.xls", "not a workbook");
    WriterProgress progress(f.ctx());
    for (const char* kind : {KindAccess, KindExcel}) {
        f.ui().clearRecords();
        EXPECT_FALSE(listWriterFor(kind)->write(f.ctx(), progress)) << kind;
        ASSERT_EQ(f.ui().messages().size(), 1u);
        EXPECT_NE(f.ui().messages()[0].text.find("list.xls"), std::string::npos);
    }
    EXPECT_EQ(platform::readFileBytes(f.ctx().listFileName), "not a workbook");
}
