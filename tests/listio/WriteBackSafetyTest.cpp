// What happens to a list while its sort information is written back: another program saves
// it, or the write is killed. The person's version is never lost, and a list left damaged by
// a kill is put back the next time it is read.

#include "listio/FormatNames.h"
#include "platform/fs/AtomicFile.h"
#include "tests/listio/ComponentListSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillan;
using namespace quillan::test;

namespace fs = std::filesystem;

namespace {

std::string savedCopy;
std::string listUnderTest;

// Another program saves the list the way editors do: its new version is renamed over it.
void saveOverTheList() {
    std::error_code ec;
    if (fs::exists(savedCopy, ec))
        fs::rename(savedCopy, listUnderTest, ec);
}

struct StageHook {
    explicit StageHook(void (*hook)(platform::WriteStage)) { platform::setWriteStageHook(hook); }
    ~StageHook() { platform::setWriteStageHook(nullptr); }
};

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> records = {"Ann\t1 ELM\tDALLAS\tTX\t75201\tDALLAS",
                                          "Bo\t2 OAK\tDALLAS\tTX\t75202\tDALLAS",
                                          "Cy\t3 ASH\tDALLAS\tTX\t75201\tDALLAS"};

} // namespace

// A save that lands while the list is written back, after the list was compared with what
// was read, is kept for every kind of list: the write-back fails (the sort's status 3) and
// says so, and nothing is left beside the list.
TEST(WriteBackSafety, ASaveDuringTheWriteBackIsKeptForEveryKind) {
    for (const char* kind : {KindTab, KindDbase, KindExcel, KindAccess}) {
        SCOPED_TRACE(kind);
        WriterFixture f;
        std::string path;
        if (kind == KindTab) {
            path = f.write("list.txt", crlf(records));
            ASSERT_EQ(f.open(path), path);
        } else if (kind == KindDbase) {
            path = f.write("list.dbf",
                           dbfTable({{"NAME", 'C', 12}, {"ZIP", 'C', 10}, {"SORT", 'C', 10}},
                                    {{false, {"Ann", "75201"}}, {false, {"Bo", "75202"}}}));
            ASSERT_EQ(f.open(path), path);
        } else if (kind == KindExcel) {
            path = f.env.folder() + "list.xls";
            writeWorkbook(path,
                          {{"List",
                            {{std::string("Ann"), std::string("75201"), std::string("old")},
                             {std::string("Bo"), std::string("75202"), std::string("old")}}}});
            ASSERT_EQ(openWithRoles(f, path, {{"zip", 1}, {"sort", 2}}), path);
        } else {
            path = accessTable(f.env.folder() + "list.mdb", records);
            ASSERT_EQ(openWithRoles(f, path, {{"sort", 6}, {"tray", 7}, {"pkg", 8}}), path);
        }
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RNAF");
        listUnderTest = path;
        const std::vector<std::string> before = entries(f.env.folder());
        savedCopy = f.write("saved", "the person's own save");
        f.ui().clearRecords();
        {
            StageHook hook([](platform::WriteStage stage) {
                if (stage == platform::WriteStage::NewContentsWritten)
                    saveOverTheList();
            });
            EXPECT_TRUE(test::writeSortInformation(f).failed);
        }
        expectNotSavedOnly(f, "was changed by another program while Quillan was writing");
        EXPECT_EQ(platform::readFileBytes(path), "the person's own save");
        EXPECT_EQ(entries(f.env.folder()), before);
    }
}

// A kill while a list with a second name was written over in place leaves it damaged under
// both names, with its copy as it was beside it: the next reading puts it back, says so, and
// reads the list as it was; nothing is left beside it.
TEST(WriteBackSafety, AListLeftDamagedByAKillIsPutBackWhenItIsReadAgain) {
    WriterFixture f;
    const std::string original = crlf(records);
    const std::string path = f.write("list.txt", original);
    const std::string other = f.env.folder() + "other name.txt";
    ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
    const std::vector<std::string> before = entries(f.env.folder());
    pid_t child = fork();
    if (child == 0) {
        StageHook hook([](platform::WriteStage stage) {
            if (stage == platform::WriteStage::PartWrittenInPlace)
                raise(SIGKILL);
        });
        platform::writeFileAtomically(path, std::string(200000, 'x'));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_NE(platform::readFileBytes(other), original);

    ASSERT_EQ(f.open(path), path);
    ASSERT_FALSE(f.messageTexts().empty());
    EXPECT_NE(f.messageTexts()[0].find("Quillan was stopped while it wrote the sorting "
                                       "information into list.txt, and kept a copy of the list "
                                       "as it was in the file"),
              std::string::npos)
        << f.messageTexts()[0];
    EXPECT_EQ(f.ui().messages()[0].kind, platform::MessageKind::Information);
    EXPECT_EQ(f.reading.mailing.recordCount(), 3);
    EXPECT_EQ(platform::readFileBytes(path), original);
    EXPECT_EQ(platform::readFileBytes(other), original);
    EXPECT_EQ(entries(f.env.folder()), before);
}
