// Rewriting text lists in presort order: the fields each record gains, header lines, the
// records that were not placed, and that a failed or refused rewrite leaves the list as
// it was.

#include "listio/ListKinds.h"
#include "listio/SortInformationWriter.h"
#include "platform/fs/AtomicFile.h"
#include "tests/listio/ListTestSupport.h"
#include "tests/listio/WriterTestSupport.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/resource.h>

using namespace quillan;
using namespace quillan::test;
using platform::MessageButtons;
using platform::MessageKind;
using platform::ModalResult;

namespace {

const std::vector<std::string> commaList = {
    "Ann Lee,Dallas,TX,75201",  "Bo Diaz,Dallas,TX,75202", "\"Cy, Ross\",Springfield,MA,01234",
    "Dee Low,Nowhere,XX,ABCDE", "Ed Kay,Dallas,TX,75201",
};

// The line without the three fields a list without output fields gains.
std::string withoutGainedFields(const std::string& kind, const std::string& line) {
    static const std::regex tab("\t[0-9]{5}\t[0-9]{5}\t[^\t]*$");
    static const std::regex bar("[0-9]{5}\\|[0-9]{5}\\|[^|]*\\|$");
    static const std::regex comma(",\"[0-9]{5}\",\"[0-9]{5}\",\"[^\"]*\"$");
    const std::regex& gained = kind == KindTab ? tab : kind == KindBar ? bar : comma;
    std::smatch m;
    if (!std::regex_search(line, m, gained))
        return "<no gained fields> " + line;
    return line.substr(0, static_cast<size_t>(m.position(0)));
}

} // namespace

TEST(TextListWriter, CommaListGainsThreeQuotedFieldsInPresortOrder) {
    WriterFixture f;
    std::string path = f.write("list.txt", crlf(commaList));
    f.sortAndWrite(path);
    EXPECT_EQ(f.fileLines(path),
              (std::vector<std::string>{
                  "\"Cy, Ross\",Springfield,MA,01234,\"00001\",\"00001\",\"*******5-DIGIT 01234\"",
                  "Ann Lee,Dallas,TX,75201,\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                  "Ed Kay,Dallas,TX,75201,\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                  "Bo Diaz,Dallas,TX,75202,\"00003\",\"00003\",\"*******5-DIGIT 75202\"",
                  "Dee Low,Nowhere,XX,ABCDE,\"00000\",\"00000\",\"\"",
              }));
    ASSERT_EQ(f.ui().messages().size(), 1u);
    const auto& m = f.ui().messages()[0];
    EXPECT_EQ(m.kind, MessageKind::Information);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.text, "Quillan has sorted the file named \"list.txt\".");
    EXPECT_TRUE(f.env.shell.calls.empty());
}

TEST(TextListWriter, EveryLineOfEachKindComesBackOnce) {
    for (const char* name :
         {"golden-tab.txt", "golden-comma.txt", "golden-merge.txt", "golden-bar.txt"}) {
        WriterFixture f({}, "");
        std::string original =
            platform::readFileBytes(fixturePath(std::string("lists/") + name)).value();
        std::string path = f.write(name, original);
        f.sortAndWrite(path);
        const std::string kind = f.ctx().listFileKind;
        std::vector<std::string> before = crlfLines(original), after = f.fileLines(path);
        if (isHeaderKind(kind)) {
            EXPECT_EQ(after.front(),
                      before.front() + (kind == KindBar ? "tray|package|endorsement|"
                                                        : ",tray,package,endorsement"));
            before.erase(before.begin());
            after.erase(after.begin());
        }
        for (auto& line : after)
            line = withoutGainedFields(kind, line);
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, before) << name;
        EXPECT_GT(f.ctx().counters.rejectedCount, 0) << name;
    }
}

TEST(TextListWriter, BarRecordsOfAPlacedAndARejectedPiece) {
    WriterFixture f;
    std::string path = f.write("bar.txt", crlf({"x|y|", "a|b|", "a|b|"}));
    AppContext& ctx = f.ctx();
    ctx.listFileKind = KindBar;
    ctx.listFileName = path;
    ctx.list.listHeaderLine = "x|y|";
    ctx.list.fieldCount = 2;
    WorkTables& t = ctx.tables;
    t.pieceRecords = {"", "a|b|", "a|b|"};
    t.pieceZips = {0, 12345, -200000};
    t.pieceInCounty = {"0", "f", "f"};
    for (int g = 1; g <= 3; ++g)
        t.addSortGroup(0, g == 3, g == 3 ? "5D 12345" : "5D 00000", g == 3 ? 7 : 1);
    for (int c = 1; c <= 7; ++c)
        t.addContainer(0, "", "None", "5-Digit");
    t.insertZipGroup(1, 12345, 1, 0, 3);
    ctx.counters = {.recordCount = 2,
                    .rejectedCount = 1,
                    .zipGroupCount = 1,
                    .sortGroupCount = 4,
                    .containerCount = 8};
    ctx.mailClass = *MailClass::fromCode("RNAF");
    WriteSortInformation(ctx);
    EXPECT_EQ(f.fileLines(path), (std::vector<std::string>{"x|y|tray|package|endorsement|",
                                                           "a|b|00007|00003|*******5-DIGIT 12345|",
                                                           "a|b|00000|00000||"}));
}

TEST(TextListWriter, OutputFieldsAreFilledInPlaceAndExtraFieldsKept) {
    WriterFixture f;
    std::string path =
        f.write("merge.txt", crlf({"Name,ZIP,TRAY", "Ann,75201,", "Bo,75202,,extra", "Cy,12,old"}));
    f.sortAndWrite(path, "RAL");
    EXPECT_EQ(f.fileLines(path), (std::vector<std::string>{
                                     "Name,ZIP,TRAY,package,endorsement",
                                     "\"Ann\",\"75201\",\"00001\",\"00001\",\"\"",
                                     "\"Bo\",\"75202\",\"00002\",\"extra\",\"00002\",\"\"",
                                     "\"Cy\",\"12\",\"00000\",\"00000\",\"\"",
                                 }));
    // An automation class is offered the barcoding program; Yes starts it on the list.
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has sorted the file named \"merge.txt\". If you have installed the "
              "program named \"Tarnwick\", you can now add barcodes to the file. Would you like "
              "to add barcodes?");
}

TEST(TextListWriter, BarcodingProgramStartsOnYesAndNeverUnattended) {
    {
        WriterFixture f;
        std::string path = f.write("list.txt", crlf(commaList));
        ASSERT_EQ(f.open(path), path);
        presortByZip(f.ctx());
        f.ctx().mailClass = *MailClass::fromCode("RAF");
        f.ui().answerNextMessage(ModalResult::Yes);
        f.ui().chooseFile(f.env.folder() + "twk"); // not installed beside Quillan: found by hand
        WriteSortInformation(f.ctx());
        ASSERT_EQ(f.env.shell.calls.size(), 1u);
        EXPECT_EQ(f.env.shell.calls[0].arguments, std::vector<std::string>{path});
    }
    WriterFixture f({"/will/be/replaced"});
    std::string path = f.write("list.txt", crlf(commaList));
    f.ctx().parameters = {path, "NOSTOP"};
    f.sortAndWrite(path, "RAF");
    EXPECT_TRUE(f.ui().messages().empty());
    EXPECT_TRUE(f.env.shell.calls.empty());
    EXPECT_EQ(f.fileLines(path).size(), commaList.size());
}

namespace {

bool onlyFile(const std::string& folder, const std::string& name) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(name) != std::string::npos &&
            entry.path().filename() != name)
            return false; // a temporary file left behind
    return true;
}

} // namespace

TEST(TextListWriter, FailedWriteLeavesTheListByteForByte) {
    WriterFixture f;
    std::string original = crlf(commaList);
    std::string path = f.write("list.txt", original);
    {
        FileSizeLimit limit(original.size() + 20);
        f.sortAndWrite(path);
    }
    EXPECT_EQ(platform::readFileBytes(path), original);
    expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                          "\"list.txt\". Your list has not been changed.");
    EXPECT_TRUE(onlyFile(f.env.folder(), "list.txt"));
}

TEST(TextListWriter, ListChangedSinceReadingIsLeftAlone) {
    WriterFixture f;
    std::string path = f.write("list.txt", crlf(commaList));
    ASSERT_EQ(f.open(path), path);
    presortByZip(f.ctx());
    f.ctx().mailClass = *MailClass::fromCode("RNAF");
    std::string edited = crlf(commaList) + "Fay Ox,Dallas,TX,75201\r\n";
    f.write("list.txt", edited);
    f.ui().clearRecords();
    WriteSortInformation(f.ctx());
    EXPECT_EQ(platform::readFileBytes(path), edited);
    expectNotSavedOnly(f, "no longer the one Quillan read");
}
