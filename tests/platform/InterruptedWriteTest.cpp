// A write that is killed, interrupted or overtaken by another program's save: the file is
// always either as it was or completely written, and nothing of the program is left beside
// it once the file is read again.

#include "platform/fs/InterruptedWrite.h"
#include "platform/Interruption.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/OtherProgram.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

// What the hook does when the write reaches `stage`.
WriteStage hookStage;
void (*hookAction)() = nullptr;
void atStage(WriteStage stage) {
    if (stage == hookStage && hookAction)
        hookAction();
}

struct StageHook {
    StageHook(WriteStage stage, void (*action)()) {
        hookStage = stage;
        hookAction = action;
        setWriteStageHook(atStage);
    }
    ~StageHook() { setWriteStageHook(nullptr); }
};

// Lines numbered from `first`, so that any mix of two such contents shows.
std::string numberedLines(char tag, size_t bytes) {
    std::string out;
    for (int n = 0; out.size() < bytes; ++n)
        out += tag + std::to_string(n) + " 123 MAIN ST, SPRINGFIELD, IL 62701\r\n";
    return out;
}

const std::string original = numberedLines('o', 200000);
const std::string sorted = numberedLines('n', 300000);
const std::string edited = numberedLines('e', 1000);

// The names in the scratch folder, and files to rename or append from.
std::string editedCopy;
std::string listPath;

class InterruptedWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("interrupted-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        listPath = path("list.txt");
        editedCopy = (fs::temp_directory_path() / ("edited-" + std::to_string(getpid()))).string();
    }
    void TearDown() override {
        fs::remove_all(folder);
        fs::remove(editedCopy);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The list, with a second name when `linked` (so that it is written in place).
    std::vector<std::string> makeList(bool linked) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        put(listPath, original);
        if (!linked)
            return {"list.txt"};
        link(listPath.c_str(), path("other.txt").c_str());
        return {"list.txt", "other.txt"};
    }
    // Writes `bytes` over the file at `target` in a child process that the hook may end;
    // the child's wait status.
    static int writeInChild(WriteStage stage, void (*action)(), const std::string& bytes = sorted,
                            const std::string& target = listPath) {
        pid_t child = fork();
        if (child == 0) {
            StageHook hook(stage, action);
            _exit(writeFileAtomically(target, bytes).ok ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }
    fs::path folder;
};

unsigned long long inodeOf(const std::string& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_ino;
}

void killNow() {
    raise(SIGKILL);
}

void renameEditedCopyOverTheList() {
    std::ofstream(editedCopy, std::ios::binary) << edited;
    rename(editedCopy.c_str(), listPath.c_str());
}

void editTheListInPlace() {
    std::ofstream(listPath, std::ios::binary | std::ios::app) << "ADDED BY HAND\r\n";
}

const char* stageName(WriteStage stage) {
    static const char* names[] = {"new contents written", "original kept", "part written in place",
                                  "replacing the file"};
    return names[static_cast<int>(stage)];
}

} // namespace

// The two ways a file is put in place, each killed at every point of its own: the rename
// leaves the old file or the new one; the write in place may leave the file damaged, but
// with its copy as it was beside it, which the next reading puts back.
TEST_F(InterruptedWriteTest, AKillAtAnyPointLeavesTheFileAsItWasOrWhollyWritten) {
    for (bool linked : {false, true}) {
        for (WriteStage stage : {WriteStage::NewContentsWritten, WriteStage::OriginalKept,
                                 WriteStage::PartWrittenInPlace, WriteStage::ReplacingTheFile}) {
            SCOPED_TRACE(std::string(linked ? "hard-linked, " : "one name, ") + stageName(stage));
            const std::vector<std::string> names = makeList(linked);
            const int status = writeInChild(stage, killNow);
            const bool reached = linked ? stage != WriteStage::ReplacingTheFile
                                        : stage == WriteStage::NewContentsWritten ||
                                              stage == WriteStage::ReplacingTheFile;
            ASSERT_EQ(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, reached);
            const bool copyKept = linked && (stage == WriteStage::OriginalKept ||
                                             stage == WriteStage::PartWrittenInPlace);
            if (linked && stage == WriteStage::PartWrittenInPlace) {
                // Damaged under both names, but the copy as it was is kept beside it, and the
                // file held there under a name of the program's.
                EXPECT_NE(readFileBytes(listPath), original);
                EXPECT_EQ(entries().size(), names.size() + 2);
                EXPECT_TRUE(fs::exists(heldNamePath(listPath, inodeOf(listPath))));
            }
            InterruptedWrite found = recoverInterruptedWrite(path(names.back()));
            EXPECT_EQ(found.restored, copyKept);
            EXPECT_TRUE(found.error.empty()) << found.error;
            for (const std::string& name : names)
                EXPECT_EQ(readFileBytes(path(name)), reached ? original : sorted) << name;
            EXPECT_EQ(entries(), names) << "nothing is left beside the list";
        }
    }
}

// A copy kept by a write stopped in place goes back only over what that write can have left
// (at every place the bytes as they were or the new ones), into the file it was kept of. A
// list saved since (in place, as an editor saves a file with other names) or a new list
// under its name is left as it is: the copy stays, cut to the list as it was and named
// after it, and is named in what is found; it is not put back, nor named again, at the next
// reading.
TEST_F(InterruptedWriteTest, AKeptCopyGoesBackOnlyOverWhatTheStoppedWriteLeft) {
    auto killedInPlace = [&](WriteStage stage) {
        makeList(true);
        ASSERT_TRUE(WIFSIGNALED(writeInChild(stage, killNow)));
        ASSERT_EQ(entries().size(), 4u) << "the list's two names, its copy and its held name";
    };
    auto expectLeftAlone = [&](const std::string& read, const std::string& holds) {
        InterruptedWrite found = recoverInterruptedWrite(read);
        EXPECT_FALSE(found.restored);
        ASSERT_EQ(found.leftAlone.size(), 1u);
        EXPECT_EQ(found.leftAlone[0].fileName, "list.txt");
        EXPECT_EQ(readFileBytes(found.leftAlone[0].copy), original);
        EXPECT_EQ(readFileBytes(read), holds);
        const InterruptedWrite again = recoverInterruptedWrite(read);
        EXPECT_TRUE(again.leftAlone.empty());
        EXPECT_TRUE(again.damagedCopy.empty()) << "a copy handed over is the person's";
        EXPECT_EQ(readFileBytes(read), holds);
        EXPECT_TRUE(fs::exists(found.leftAlone[0].copy));
    };
    {
        SCOPED_TRACE("saved in place");
        killedInPlace(WriteStage::PartWrittenInPlace);
        put(listPath, edited);
        expectLeftAlone(listPath, edited);
    }
    {
        SCOPED_TRACE("a new list under its name");
        killedInPlace(WriteStage::PartWrittenInPlace);
        fs::remove(listPath);
        fs::remove(path("other.txt"));
        put(listPath, edited);
        expectLeftAlone(listPath, edited);
    }
    // A page left with the new bytes anywhere (a power cut writes pages in any order) is
    // still what the write left; a byte that is neither is not.
    std::string pages = original;
    pages.replace(4096, 4096, sorted.substr(4096, 4096));
    for (bool touched : {false, true}) {
        SCOPED_TRACE(touched ? "a byte changed since" : "pages of both");
        killedInPlace(WriteStage::OriginalKept);
        std::string left = pages;
        if (touched)
            left[5000] = 'Z';
        put(listPath, left);
        if (touched) {
            expectLeftAlone(listPath, left);
            continue;
        }
        EXPECT_TRUE(recoverInterruptedWrite(listPath).restored);
        EXPECT_EQ(readFileBytes(listPath), original);
        EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
    }
}

// The copy belongs to the file it was kept of, whatever its names are now: the list replaced
// under the name written (by a rename, or deleted and a new one copied in), the file is put
// back under the names it still has, whichever name is read, and the new file is left as it
// is. A list whose long name, cut, gives its copy the name another list's copy would have
// is put back when the other list is read, and the other list is left alone.
TEST_F(InterruptedWriteTest, AKeptCopyGoesBackUnderTheNamesItsFileStillHas) {
    const std::vector<std::string> otherName = {path("other.txt")};
    for (const char* read : {"list.txt", "other.txt"}) {
        for (bool renamed : {true, false}) {
            SCOPED_TRACE(std::string(read) + (renamed ? ", renamed over" : ", copied in"));
            makeList(true);
            ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow)));
            if (renamed) {
                renameEditedCopyOverTheList();
            } else {
                fs::remove(listPath);
                put(listPath, edited);
            }
            const InterruptedWrite found = recoverInterruptedWrite(path(read));
            EXPECT_TRUE(found.restored);
            EXPECT_TRUE(found.leftAlone.empty());
            EXPECT_EQ(found.fileName, "list.txt");
            EXPECT_EQ(found.names, otherName);
            EXPECT_EQ(readFileBytes(path("other.txt")), original);
            EXPECT_EQ(readFileBytes(listPath), edited);
            EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
        }
    }
    {
        SCOPED_TRACE("the other name replaced by a save, and read");
        makeList(true);
        ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow)));
        std::ofstream(editedCopy, std::ios::binary) << edited;
        rename(editedCopy.c_str(), path("other.txt").c_str());
        const InterruptedWrite found = recoverInterruptedWrite(path("other.txt"));
        EXPECT_TRUE(found.restored);
        EXPECT_EQ(found.names, std::vector<std::string>{listPath});
        EXPECT_EQ(readFileBytes(listPath), original);
        EXPECT_EQ(readFileBytes(path("other.txt")), edited);
        EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
    }
    {
        SCOPED_TRACE("the name written is gone");
        makeList(true);
        ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow)));
        fs::remove(listPath);
        const InterruptedWrite found = recoverInterruptedWrite(path("other.txt"));
        EXPECT_TRUE(found.restored);
        EXPECT_EQ(found.names, otherName);
        EXPECT_EQ(readFileBytes(path("other.txt")), original);
        EXPECT_EQ(entries(), (std::vector<std::string>{"other.txt"}));
    }
    {
        SCOPED_TRACE("two long names that share their start");
        makeList(false);
        const std::string start(240, 'n');
        const std::string first = path(start + "-first.txt"), second = path(start + "-second.txt");
        put(first, original);
        put(second, edited);
        ASSERT_EQ(link(first.c_str(), path("short.txt").c_str()), 0);
        ASSERT_TRUE(
            WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow, sorted, first)));
        const InterruptedWrite found = recoverInterruptedWrite(second);
        EXPECT_TRUE(found.restored);
        EXPECT_TRUE(found.leftAlone.empty());
        EXPECT_EQ(found.names, (std::vector<std::string>{first, path("short.txt")}));
        EXPECT_EQ(readFileBytes(first), original);
        EXPECT_EQ(readFileBytes(second), edited);
        EXPECT_EQ(entries().size(), 4u);
    }
}

// A write in place that shrinks the file or lengthens it, stopped, and then the putting
// back stopped anywhere (the bytes as they were written over the new ones from the start,
// growing the file that the write cut): the next reading still knows the file for what the
// write left, and finishes putting it back.
TEST_F(InterruptedWriteTest, AStoppedPutBackIsFinishedByTheNextReading) {
    const std::string shorter = sorted.substr(0, 150001);
    for (bool shrinks : {true, false}) {
        const std::string& fresh = shrinks ? shorter : sorted;
        for (size_t stoppedAt : {size_t{0}, size_t{4096}, size_t{70000}, size_t{150001},
                                 size_t{170123}, original.size()}) {
            SCOPED_TRACE(std::string(shrinks ? "shrinks, " : "lengthens, ") + "put back up to " +
                         std::to_string(stoppedAt));
            makeList(true);
            ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::OriginalKept, killNow, fresh)));
            // What the write leaves once wholly in place, then the start of the putting back.
            std::string left = fresh;
            left.replace(0, std::min(stoppedAt, left.size()), original.substr(0, stoppedAt));
            put(listPath, left);
            const InterruptedWrite found = recoverInterruptedWrite(path("other.txt"));
            EXPECT_TRUE(found.restored);
            EXPECT_TRUE(found.leftAlone.empty());
            EXPECT_EQ(readFileBytes(listPath), original);
            EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
        }
    }
}

// A file under the program's name for the copy kept of this file, whose seal fails
// wherever its byte was changed (the bytes as they were, the new ones, the record), is a
// damaged copy: it is reported, and neither it nor the file is touched; a writer refuses
// the file too.
TEST_F(InterruptedWriteTest, ADamagedKeptCopyIsReportedAndNothingIsTouched) {
    for (size_t at : {size_t{10}, original.size() + 10, original.size() + sorted.size() + 3}) {
        SCOPED_TRACE(at);
        makeList(true);
        ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow)));
        const std::string copy = keptOriginalPath(listPath, inodeOf(listPath));
        std::string bytes = readFileBytes(copy).value_or("");
        ASSERT_GT(bytes.size(), at);
        bytes[at] ^= 0x20;
        put(copy, bytes);
        const std::string damaged = readFileBytes(listPath).value_or("");
        for (const char* read : {"list.txt", "other.txt"}) {
            const InterruptedWrite found = recoverInterruptedWrite(path(read));
            EXPECT_EQ(found.damagedCopy, copy) << read;
            EXPECT_FALSE(found.restored);
        }
        EXPECT_FALSE(writeFileAtomically(listPath, sorted).ok);
        EXPECT_EQ(readFileBytes(listPath), damaged);
        EXPECT_EQ(readFileBytes(copy), bytes);
    }
}

// An editor that saves a file with other names in place while the program writes over it:
// cutting it and writing it anew, or appending to it (past the end of the list as it was,
// which the write would cut off, or inside the room the new contents then write over). The
// file holds some of each, which the write sees. It fails as changed, the file is left as it
// is, with the other program's bytes, and the copy as it was is handed over to the person,
// named after the list.
TEST_F(InterruptedWriteTest, ASaveWrittenIntoTheFileWhileItIsWrittenOverIsTold) {
    static const std::string appended = "ADDED BY HAND\r\n";
    struct Case {
        const char* what;
        const std::string* fresh;
        void (*save)();
    };
    const std::string shorter = sorted.substr(0, 120000);
    for (const Case& c :
         {Case{"rewritten", &sorted,
               [] { std::ofstream(listPath, std::ios::binary | std::ios::trunc) << edited; }},
          Case{"appended, the sort longer", &sorted, editTheListInPlace},
          Case{"appended, the sort shorter", &shorter, editTheListInPlace}}) {
        SCOPED_TRACE(c.what);
        makeList(true);
        // Open elsewhere, the file gets no lease: only what the write sees of it can tell.
        const int elsewhere = open(listPath.c_str(), O_RDONLY | O_CLOEXEC);
        WriteResult result;
        {
            StageHook hook(WriteStage::PartWrittenInPlace, c.save);
            result = writeFileAtomically(listPath, *c.fresh);
        }
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.changed);
        EXPECT_TRUE(result.writtenInto);
        const std::string mixed = readFileBytes(listPath).value_or("");
        EXPECT_NE(mixed, *c.fresh);
        if (c.save == editTheListInPlace)
            EXPECT_NE(mixed.find(appended), std::string::npos) << "the appended line stays";
        else
            EXPECT_EQ(mixed.substr(0, edited.size()), edited);
        EXPECT_EQ(result.asItWas, path("list.txt.before-sorting"));
        EXPECT_EQ(readFileBytes(result.asItWas), original);
        EXPECT_EQ(entries(),
                  (std::vector<std::string>{"list.txt", "list.txt.before-sorting", "other.txt"}));
        const InterruptedWrite found = recoverInterruptedWrite(listPath);
        EXPECT_FALSE(found.restored);
        EXPECT_TRUE(found.damagedCopy.empty());
        EXPECT_EQ(readFileBytes(listPath), mixed);
        close(elsewhere);
    }
}

namespace {

pid_t otherProgram = -1;

// Another program opens the list (to save it in place, to add to its end, or to read it)
// while the program writes over it. It tells by its exit status whether it found the file
// whole, as it was or as written, never a mix.
void startOtherProgram(int flags) {
    otherProgram = quillan::test::startOtherProgramOpening(listPath, flags, [flags](int fd) {
        const bool saving = (flags & O_ACCMODE) != O_RDONLY;
        const bool whole = readFileBytes(listPath) == (saving ? original : sorted);
        const std::string save = flags & O_APPEND ? "ADDED BY HAND\r\n" : edited;
        if (saving && (((flags & O_APPEND) == 0 && ftruncate(fd, 0) != 0) ||
                       write(fd, save.data(), save.size()) < 0))
            return 2;
        return whole ? 0 : 1;
    });
}

void editorOpensTheList() {
    startOtherProgram(O_RDWR);
}

void anotherProgramAddsToTheList() {
    startOtherProgram(O_WRONLY | O_APPEND);
}

void readerOpensTheList() {
    startOtherProgram(O_RDONLY);
}

int otherProgramStatus() {
    return quillan::test::exitStatusOf(otherProgram);
}

} // namespace

// An editor that opens a file with other names to save it in place while the program writes
// over it waits for the program's lease: the file is put back as it was before the editor's
// save goes in, and the write fails as changed. The save is then whole, and nothing of the
// program's is left beside it. Before the first block as after it.
TEST_F(InterruptedWriteTest, AnEditorThatOpensTheFileDuringTheWriteGetsItAsItWas) {
    for (WriteStage stage : {WriteStage::OriginalKept, WriteStage::PartWrittenInPlace}) {
        SCOPED_TRACE(stageName(stage));
        makeList(true);
        WriteResult result;
        {
            StageHook hook(stage, editorOpensTheList);
            result = writeFileAtomically(listPath, sorted);
        }
        EXPECT_EQ(otherProgramStatus(), 0);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.changed);
        EXPECT_FALSE(result.writtenInto);
        EXPECT_TRUE(result.keptCopy.empty());
        EXPECT_EQ(readFileBytes(listPath), edited);
        EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
    }
}

// A program that only reads the file waits too, and then reads it whole as written; the
// write goes on.
TEST_F(InterruptedWriteTest, AReaderDuringTheWriteWaitsAndReadsItWhole) {
    makeList(true);
    WriteResult result;
    {
        StageHook hook(WriteStage::PartWrittenInPlace, readerOpensTheList);
        result = writeFileAtomically(listPath, sorted);
    }
    EXPECT_EQ(otherProgramStatus(), 0);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(readFileBytes(path("other.txt")), sorted);
    EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
}

// Another program's save that lands while the file is written (renamed over it, or written
// into it) is kept, and the write fails as changed; the list's other name keeps the list
// as it was. A save in the instant after the last look is caught by the exchange.
TEST_F(InterruptedWriteTest, ASaveThatLandsDuringTheWriteIsKept) {
    struct Case {
        bool linked;
        WriteStage stage;
        void (*save)();
    };
    for (const Case& c :
         {Case{false, WriteStage::NewContentsWritten, renameEditedCopyOverTheList},
          Case{false, WriteStage::ReplacingTheFile, renameEditedCopyOverTheList},
          Case{false, WriteStage::NewContentsWritten, editTheListInPlace},
          Case{true, WriteStage::NewContentsWritten, renameEditedCopyOverTheList},
          Case{true, WriteStage::OriginalKept, renameEditedCopyOverTheList},
          Case{true, WriteStage::OriginalKept, anotherProgramAddsToTheList},
          Case{true, WriteStage::PartWrittenInPlace, renameEditedCopyOverTheList}}) {
        const bool inPlace = c.save != renameEditedCopyOverTheList;
        SCOPED_TRACE(std::string(c.linked ? "hard-linked, " : "one name, ") + stageName(c.stage) +
                     (inPlace ? ", edited in place" : ", renamed over"));
        const std::vector<std::string> names = makeList(c.linked);
        WriteResult result;
        {
            StageHook hook(c.stage, c.save);
            result = writeFileAtomically(listPath, sorted);
        }
        if (c.save == anotherProgramAddsToTheList)
            EXPECT_EQ(otherProgramStatus(), 0);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.changed) << result.error;
        EXPECT_EQ(readFileBytes(listPath), inPlace ? original + "ADDED BY HAND\r\n" : edited);
        // Renamed over a list to be written over in place, the save holds the name; the list
        // as it was keeps its other name, the sort in it only when the save came during the
        // overwrite. The write says so.
        const bool replaced = c.linked && !inPlace;
        const bool duringOverwrite = c.stage == WriteStage::PartWrittenInPlace;
        EXPECT_EQ(result.replacedInPlace, replaced);
        EXPECT_EQ(result.otherNamesWritten, duringOverwrite);
        EXPECT_EQ(result.otherNames, replaced ? std::vector<std::string>{path("other.txt")}
                                              : std::vector<std::string>{});
        if (replaced) {
            EXPECT_EQ(readFileBytes(path("other.txt")), duringOverwrite ? sorted : original);
        }
        EXPECT_EQ(entries(), names);
    }
    // A list changed between its reading and its writing is not written at all.
    put(listPath, original);
    FileStamp read = stampOf(listPath);
    put(listPath, edited);
    AtomicFileWriter late(listPath, AtomicFileWriter::Links::Follow, read);
    EXPECT_TRUE(late.targetChanged());
    EXPECT_FALSE(late.commit().ok);
    EXPECT_EQ(readFileBytes(listPath), edited);
}

// Two writers of one file: the second is refused while the first writes.
TEST_F(InterruptedWriteTest, OneWriterAtATime) {
    makeList(false);
    AtomicFileWriter first(listPath);
    AtomicFileWriter second(listPath);
    EXPECT_TRUE(first.ok());
    EXPECT_FALSE(second.ok());
    EXPECT_NE(second.error().find("another program is writing"), std::string::npos);
    first.write(sorted);
    EXPECT_TRUE(first.commit().ok);
    EXPECT_TRUE(writeFileAtomically(listPath, original).ok);
    EXPECT_EQ(readFileBytes(listPath), original);
}

// What killed writes left beside the list goes with the next reading or write of it: a
// temporary file named for the moment it is renamed into place, and one that a file system
// without unnamed files names at once. A person's own hidden files stay, whatever their
// names: the patterns earlier versions removed, a name of the program's own on a file that
// is not the one it was made for (a copy of a leftover, saved under its name), and a copy
// kept by a stopped write that is not sealed. While a write works, its temporary file has
// no name at all where the file system allows it.
TEST_F(InterruptedWriteTest, OnlyTheProgramsOwnLeftoversBesideTheListAreRemoved) {
    makeList(false);
    ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::ReplacingTheFile, killNow)));
    std::vector<std::string> left = entries();
    ASSERT_EQ(left.size(), 2u) << "the temporary file named to be renamed into place";
    const std::string renamedCopy = path(left[0] == "list.txt" ? left[1] : left[0]);
    std::vector<std::string> persons = {".list.txt.Backup",
                                        ".list.txt.BAK001",
                                        ".list.txt.2024v1",
                                        ".list.txt.orig12",
                                        ".list.txt.quillan-mycopy",
                                        ".list.txt.quillan-AbC123",
                                        ".list.txt.Xy12Ab",
                                        ".list.txt.sorting-q9W2e4",
                                        ".list.txt.original-12345",
                                        ".other.txt.quillan-AbC123",
                                        "list.txt"};
    for (const std::string& name : persons)
        if (name != "list.txt")
            put(path(name), "a person's own");
    const std::string leftoverBytes = readFileBytes(renamedCopy).value_or("");
    // Leftovers of the program's own, named at once as a file system without unnamed files
    // names them: the temporary file and the Access work copy.
    for (const OwnFilePattern& pattern : {TemporaryFilePattern, OwnFilePattern{".sorting-"}}) {
        put(path("made"), leftoverBytes);
        fs::rename(path("made"), ownNameBeside(listPath, pattern, inodeOf(path("made"))));
    }
    // A leftover of the program's own saved again by a person: another file under its name.
    put(path("scratch"), "a person's own");
    fs::remove(renamedCopy);
    fs::rename(path("scratch"), renamedCopy);
    persons.push_back(fs::path(renamedCopy).filename().string());
    std::sort(persons.begin(), persons.end());
    ASSERT_EQ(entries().size(), persons.size() + 2) << ::testing::PrintToString(entries());
    recoverInterruptedWrite(listPath, {{".sorting-"}});
    EXPECT_EQ(entries(), persons);

    static size_t namesWhileWriting;
    static fs::path scratch;
    scratch = folder;
    namesWhileWriting = 0;
    {
        StageHook hook(WriteStage::NewContentsWritten, [] {
            namesWhileWriting =
                static_cast<size_t>(std::distance(fs::directory_iterator(scratch), {}));
        });
        EXPECT_TRUE(writeFileAtomically(listPath, sorted).ok);
    }
    EXPECT_EQ(entries(), persons);
    int probe = open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (probe >= 0) {
        close(probe);
        EXPECT_EQ(namesWhileWriting, persons.size()) << "the temporary file shows no name";
    }
}

namespace {

// The steps of the program's own files the child is let take before it is killed.
int stepsLeft = 0;
void killAtTheLastStep() {
    if (--stepsLeft == 0)
        raise(SIGKILL);
}

} // namespace

// A kill at every step at which a write names, exchanges or removes a file of the program's
// own beside the list (its temporary file, under its own name and under the name the list's
// inode gives, for the exchange): the list is as it was or wholly written, and the next
// reading leaves nothing of the program's beside it, also when the person saved the list
// (by rename, a new inode) before that reading. Files of a person's under names of the same
// shape stay.
TEST_F(InterruptedWriteTest, AKillAtEveryStepOfTheProgramsOwnFilesLeavesNothingOfThem) {
    const std::vector<std::string> persons = {".list.txt.quillan-0123456789abcdef",
                                              ".list.txt.sorting-0123456789abcdef", "list.txt"};
    int steps = 0;
    bool leftSomething = false;
    for (bool savedAfterTheKill : {false, true}) {
        for (int step = 1;; ++step) {
            SCOPED_TRACE("kill at step " + std::to_string(step) +
                         (savedAfterTheKill ? ", saved after it" : ""));
            makeList(false);
            for (const std::string& name : persons)
                if (name != "list.txt")
                    put(path(name), "a person's own");
            pid_t child = fork();
            if (child == 0) {
                stepsLeft = step;
                setOwnFileStepHook(killAtTheLastStep);
                _exit(writeFileAtomically(listPath, sorted).ok ? 0 : 1);
            }
            int status = 0;
            waitpid(child, &status, 0);
            if (WIFEXITED(status)) {
                EXPECT_EQ(WEXITSTATUS(status), 0);
                EXPECT_EQ(readFileBytes(listPath), sorted);
                EXPECT_EQ(entries(), persons);
                steps = std::max(steps, step - 1);
                break;
            }
            const std::optional<std::string> left = readFileBytes(listPath);
            EXPECT_TRUE(left == original || left == sorted);
            leftSomething = leftSomething || entries().size() > persons.size();
            if (savedAfterTheKill)
                renameEditedCopyOverTheList();
            recoverInterruptedWrite(listPath);
            EXPECT_EQ(entries(), persons);
            EXPECT_EQ(readFileBytes(listPath), savedAfterTheKill ? edited : *left);
        }
    }
    // Named, given the old file's name, exchanged, and both names removed.
    EXPECT_GE(steps, 4);
    EXPECT_TRUE(leftSomething);
}

namespace {

void limitFileSize() {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small {};
    getrlimit(RLIMIT_FSIZE, &small);
    small.rlim_cur = 100000;
    setrlimit(RLIMIT_FSIZE, &small);
}

struct FileSizeRestored {
    struct rlimit saved {};
    FileSizeRestored() { getrlimit(RLIMIT_FSIZE, &saved); }
    ~FileSizeRestored() { setrlimit(RLIMIT_FSIZE, &saved); }
};

} // namespace

// A write in place that fails part way puts the file back at once from the copy kept; only
// when that fails too does the copy stay, named, for the next reading to put back.
TEST_F(InterruptedWriteTest, AFailedWriteInPlacePutsTheFileBack) {
    for (size_t originalSize : {size_t{50000}, size_t{200000}}) {
        SCOPED_TRACE(originalSize);
        makeList(true);
        const std::string before = original.substr(0, originalSize);
        put(listPath, before);
        WriteResult result;
        {
            FileSizeRestored restored;
            StageHook hook(WriteStage::OriginalKept, limitFileSize);
            result = writeFileAtomically(listPath, sorted);
        }
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.changed);
        if (originalSize < 100000) {
            EXPECT_TRUE(result.keptCopy.empty());
            EXPECT_EQ(readFileBytes(listPath), before);
        } else {
            ASSERT_FALSE(result.keptCopy.empty());
            EXPECT_EQ(readFileBytes(result.keptCopy).value_or("").substr(0, before.size()), before);
            EXPECT_TRUE(recoverInterruptedWrite(listPath).restored);
            EXPECT_EQ(readFileBytes(listPath), before);
        }
        EXPECT_EQ(readFileBytes(path("other.txt")), before);
        EXPECT_EQ(entries(), (std::vector<std::string>{"list.txt", "other.txt"}));
    }
}

// A second termination signal while the file is put in place ends the process only once
// the file is wholly written.
TEST_F(InterruptedWriteTest, ASecondSignalWaitsUntilTheFileIsInPlace) {
    const std::vector<std::string> names = makeList(true);
    pid_t child = fork();
    if (child == 0) {
        catchInterruptions();
        raise(SIGTERM); // the first asks the run to stop at its next safe point
        StageHook hook(WriteStage::PartWrittenInPlace, [] { raise(SIGTERM); });
        writeFileAtomically(listPath, sorted);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    for (const std::string& name : names)
        EXPECT_EQ(readFileBytes(path(name)), sorted) << name;
    EXPECT_EQ(entries(), names);
}

// A reading killed at every step of handing a copy over (the list saved in place after the
// write was killed): the copy under its own name stays whole until the list as it was is
// wholly under its new name, so that the next reading hands it over without refusing a cut
// copy as damaged, and never leaves two copies of the same list.
TEST_F(InterruptedWriteTest, AKillWhileACopyIsHandedOverLeavesOneCopyOfTheListAsItWas) {
    int steps = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE("kill at step " + std::to_string(step));
        makeList(true);
        ASSERT_TRUE(WIFSIGNALED(writeInChild(WriteStage::PartWrittenInPlace, killNow)));
        put(listPath, edited);
        pid_t child = fork();
        if (child == 0) {
            stepsLeft = step;
            setOwnFileStepHook(killAtTheLastStep);
            recoverInterruptedWrite(listPath);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::vector<std::string> left = entries();
        const bool copyLeft = std::any_of(left.begin(), left.end(), [](const std::string& name) {
            return name.find(".original-") != std::string::npos;
        });
        const InterruptedWrite found = recoverInterruptedWrite(listPath);
        EXPECT_TRUE(found.damagedCopy.empty()) << found.damagedCopy;
        EXPECT_FALSE(found.restored);
        EXPECT_EQ(entries(),
                  (std::vector<std::string>{"list.txt", "list.txt.before-sorting", "other.txt"}));
        EXPECT_EQ(readFileBytes(path("list.txt.before-sorting")), original);
        EXPECT_EQ(readFileBytes(listPath), edited);
        if (WIFEXITED(status)) {
            steps = step - 1;
            break;
        }
        // The reading that finds the copy still there tells the person where the list is.
        EXPECT_EQ(found.leftAlone.size(), copyLeft ? 1u : 0u);
    }
    // The list as it was named, the copy removed, the held name removed.
    EXPECT_GE(steps, 3);
}
