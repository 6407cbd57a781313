// What happens to a list while its sort information is written back: another program saves
// it, or the write is killed. The person's version is never lost, and a list left damaged by
// a kill is put back the next time it is read.

#include "listio/FormatNames.h"
#include "platform/fs/AtomicFile.h"
#include "platform/fs/KeptOriginal.h"
#include "tests/listio/ComponentListSupport.h"
#include "tests/support/OtherProgram.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillan;
using namespace quillan::test;

namespace fs = std::filesystem;

namespace {

std::string savedCopy;
std::string listUnderTest;
platform::WriteStage saveStage{};

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

// Sorts the open list by ZIP and writes it back while a person's save is renamed over it at
// `stage`: true when the write-back failed.
bool writeBackWithASaveAt(WriterFixture& f, const std::string& path, platform::WriteStage stage) {
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    listUnderTest = path;
    savedCopy = f.write("saved", "the person's own save");
    f.ui().clearRecords();
    saveStage = stage;
    StageHook hook([](platform::WriteStage at) {
        if (at == saveStage)
            saveOverTheList();
    });
    return test::writeSortInformation(f).failed;
}

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
        const std::vector<std::string> before = entries(f.env.folder());
        EXPECT_TRUE(writeBackWithASaveAt(f, path, platform::WriteStage::NewContentsWritten));
        expectNotSavedOnly(f, "was changed by another program while Quillan was writing");
        EXPECT_EQ(platform::readFileBytes(path), "the person's own save");
        EXPECT_EQ(entries(f.env.folder()), before);
    }
}

// Writes 200,000 bytes over the list at `path` in place (it has another name) in a child
// process that is killed once the first block is in it.
void killWhileWrittenOver(const std::string& path) {
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
}

// A kill while a list with a second name was written over in place leaves it damaged under
// both names, with its copy as it was beside it: the next reading puts it back, says so, and
// reads the list as it was; nothing is left beside it. A list that the person saved after
// the kill is read as saved: the copy stays, and the person is told both names.
TEST(WriteBackSafety, AListLeftDamagedByAKillIsPutBackWhenItIsReadAgain) {
    WriterFixture f;
    const std::string original = crlf(records);
    const std::string path = f.write("list.txt", original);
    const std::string other = f.env.folder() + "other name.txt";
    ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
    const std::vector<std::string> before = entries(f.env.folder());
    killWhileWrittenOver(path);
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

    killWhileWrittenOver(path);
    const std::string saved = crlf({records[0], records[1]});
    std::ofstream(path, std::ios::binary | std::ios::trunc) << saved;
    WriterFixture g;
    ASSERT_EQ(g.open(path), path);
    ASSERT_EQ(g.messageTexts().size(), 1u) << ::testing::PrintToString(g.messageTexts());
    EXPECT_EQ(g.ui().messages()[0].kind, platform::MessageKind::Information);
    EXPECT_NE(
        g.messageTexts()[0].find("That list, under its names \"list.txt\" and \"other "
                                 "name.txt\", has been changed since that stopped write, so "
                                 "Quillan has left it as it is and has not put the copy back"),
        std::string::npos)
        << g.messageTexts()[0];
    EXPECT_EQ(g.reading.mailing.recordCount(), 2);
    EXPECT_EQ(platform::readFileBytes(path), saved);
    const std::vector<std::string> now = entries(f.env.folder());
    ASSERT_EQ(now.size(), before.size() + 1);
    const std::string kept = f.env.folder() + "list.txt.before-sorting";
    EXPECT_NE(g.messageTexts()[0].find("in the file \"" + kept + "\""), std::string::npos);
    EXPECT_EQ(platform::readFileBytes(kept), original);
}

// What a reading after a kill tells: the list replaced under the name written, its file is
// put back under its other name, and the new list is read as it is; a damaged copy under
// the program's own name refuses the list and names the copy; a list the person emptied is
// refused as empty, and the copy as it was is named too.
TEST(WriteBackSafety, TheReadingAfterAKillTellsWhereEveryVersionIs) {
    const std::string original = crlf(records);
    const std::string saved = crlf({records[0], records[1]});
    auto killed = [&](WriterFixture& f, const std::string& name = "list.txt") {
        const std::string path = f.write(name, original);
        const std::string other = f.env.folder() + "other name.txt";
        fs::remove(other);
        link(path.c_str(), other.c_str());
        killWhileWrittenOver(path);
        return path;
    };
    // A byte of the copy changed: its seal no longer holds. The copy's bytes now.
    auto damage = [](const std::string& copy) {
        std::string bytes = platform::readFileBytes(copy).value_or("");
        EXPECT_FALSE(bytes.empty());
        bytes.at(1) ^= 1;
        std::ofstream(copy, std::ios::binary | std::ios::trunc) << bytes;
        return bytes;
    };
    {
        SCOPED_TRACE("replaced by a save");
        WriterFixture f;
        const std::string path = killed(f);
        const std::string save = f.write("saved", saved);
        fs::rename(save, path);
        ASSERT_EQ(f.open(path), path);
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_NE(f.messageTexts()[0].find("It has put the list back from that copy under its "
                                           "name \"other name.txt\": the list is as it was "
                                           "before that sort, and the copy is gone. list.txt is "
                                           "another file now, and is read as it is."),
                  std::string::npos)
            << f.messageTexts()[0];
        EXPECT_EQ(f.reading.mailing.recordCount(), 2);
        EXPECT_EQ(platform::readFileBytes(f.env.folder() + "other name.txt"), original);
        for (const std::string& name : entries(f.env.folder()))
            EXPECT_NE(name.rfind(".list.txt", 0), 0u) << "the copy is gone";
    }
    {
        SCOPED_TRACE("another list whose long name begins like the list's");
        WriterFixture f;
        const std::string start(240, 'm');
        const std::string path = f.write(start + "-first.txt", original);
        ASSERT_EQ(link(path.c_str(), (f.env.folder() + "short.txt").c_str()), 0);
        const std::string another = f.write(start + "-second.txt", saved);
        killWhileWrittenOver(path);
        ASSERT_EQ(f.open(another), another);
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_NE(f.messageTexts()[0].find(start + "-second.txt is another list, and is read as "
                                                   "it is."),
                  std::string::npos)
            << f.messageTexts()[0];
        EXPECT_EQ(f.messageTexts()[0].find("another file now"), std::string::npos);
        EXPECT_EQ(platform::readFileBytes(path), original);
    }
    {
        SCOPED_TRACE("a damaged copy");
        WriterFixture f;
        const std::string path = killed(f);
        const std::string copy = platform::keptOriginalPath(path, platform::stampOf(path).inode);
        const std::string bytes = damage(copy);
        const std::string left = platform::readFileBytes(path).value_or("");
        EXPECT_EQ(f.open(path), "");
        EXPECT_EQ(f.outcome, ReadOutcome::Refused);
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_NE(f.messageTexts()[0].find("lies the file \"" + copy + "\""), std::string::npos)
            << f.messageTexts()[0];
        EXPECT_EQ(platform::readFileBytes(path), left);
        EXPECT_EQ(platform::readFileBytes(copy), bytes);
    }
    {
        SCOPED_TRACE("a damaged copy, the list saved by rename since");
        WriterFixture f;
        const std::string path = killed(f);
        const std::string copy = platform::keptOriginalPath(path, platform::stampOf(path).inode);
        const std::string bytes = damage(copy);
        const std::string left = platform::readFileBytes(path).value_or("");
        fs::rename(f.write("saved", saved), path);
        ASSERT_EQ(f.open(path), path);
        EXPECT_EQ(f.reading.mailing.recordCount(), 2);
        ASSERT_EQ(f.messageTexts().size(), 1u);
        EXPECT_NE(f.messageTexts()[0].find("lies the file \"" + copy + "\""), std::string::npos);
        EXPECT_NE(f.messageTexts()[0].find("the list under \"other name.txt\" may have been left "
                                           "half written"),
                  std::string::npos)
            << f.messageTexts()[0];
        EXPECT_EQ(platform::readFileBytes(f.env.folder() + "other name.txt"), left);
        EXPECT_EQ(platform::readFileBytes(copy), bytes);
    }
    {
        SCOPED_TRACE("emptied");
        WriterFixture f;
        const std::string path = killed(f);
        std::ofstream(path, std::ios::binary | std::ios::trunc).flush();
        EXPECT_EQ(f.open(path), "");
        const std::vector<std::string> texts = f.messageTexts();
        ASSERT_EQ(texts.size(), 2u) << ::testing::PrintToString(texts);
        const std::string copy = f.env.folder() + "list.txt.before-sorting";
        EXPECT_NE(texts[0].find("kept a copy of the list as it was in the file \"" + copy),
                  std::string::npos)
            << texts[0];
        EXPECT_NE(texts[1].find("The file is empty."), std::string::npos) << texts[1];
        EXPECT_EQ(platform::readFileBytes(copy), original);
    }
}

// A list with a second name in another folder, killed while written over in place: read
// under that name, it is put back under both names and read as it was; saved by rename under
// the name written, that name is read as saved, and the file the write left is put back
// under its name in the other folder, which the person is told of.
TEST(WriteBackSafety, AListWithANameInAnotherFolderIsPutBackWhicheverNameIsRead) {
    const std::string original = crlf(records);
    for (bool savedFirst : {false, true}) {
        SCOPED_TRACE(savedFirst ? "saved by rename, read under the name written"
                                : "read under the name in the other folder");
        WriterFixture f;
        fs::create_directories(f.env.folder() + "a");
        fs::create_directories(f.env.folder() + "b");
        const std::string path = f.write("a/list.txt", original);
        const std::string other = f.env.folder() + "b/other.txt";
        ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
        killWhileWrittenOver(path);
        ASSERT_NE(platform::readFileBytes(other), original);
        const std::string saved = crlf({records[0], records[1]});
        if (savedFirst)
            fs::rename(f.write("saved", saved), path);
        const std::string read = savedFirst ? path : other;
        ASSERT_EQ(f.open(read), read);
        ASSERT_EQ(f.messageTexts().size(), 1u) << ::testing::PrintToString(f.messageTexts());
        const std::string told = f.messageTexts()[0];
        const std::string where =
            savedFirst ? "into that file, which has no name beside the copy any more but one "
                         "other name in another folder: the list is as it was"
                       : "under its names \"list.txt\" and \"other.txt\": the list is as it was";
        EXPECT_NE(told.find(where), std::string::npos) << told;
        EXPECT_EQ(told.find("list.txt is another file now") != std::string::npos, savedFirst)
            << told;
        EXPECT_EQ(f.reading.mailing.recordCount(), savedFirst ? 2 : 3);
        EXPECT_EQ(platform::readFileBytes(other), original);
        EXPECT_EQ(platform::readFileBytes(path), savedFirst ? saved : original);
        EXPECT_EQ(entries(f.env.folder() + "a"), std::vector<std::string>{"list.txt"});
        EXPECT_EQ(entries(f.env.folder() + "b"), std::vector<std::string>{"other.txt"});
    }
}

// A list with a second name, read and sorted by ZIP, ready to be written over in place.
static void readyToWriteOverInPlace(WriterFixture& f, const std::string& original) {
    const std::string path = f.write("list.txt", original);
    ASSERT_EQ(link(path.c_str(), (f.env.folder() + "other name.txt").c_str()), 0);
    ASSERT_EQ(f.open(path), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    listUnderTest = path;
    f.ui().clearRecords();
}

// An editor that saves a list with a second name in place, while its sort information is
// written over it, leaves some of each in it: the write-back fails, says so, and names the
// copy of the list as it was.
TEST(WriteBackSafety, ASaveWrittenIntoTheListDuringItsOverwriteIsTold) {
    WriterFixture f;
    const std::string original = crlf(records);
    readyToWriteOverInPlace(f, original);
    const std::string path = listUnderTest;
    // Open elsewhere, the list gets no lease: only the reading back can see the save.
    const int elsewhere = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    StageHook hook([](platform::WriteStage at) {
        if (at == platform::WriteStage::PartWrittenInPlace)
            std::ofstream(listUnderTest, std::ios::binary | std::ios::trunc)
                << std::string(70000, 's');
    });
    EXPECT_TRUE(test::writeSortInformation(f).failed);
    close(elsewhere);
    const std::string copy = f.env.folder() + "list.txt.before-sorting";
    expectNotSavedOnly(f, "Another program wrote into the file while Quillan was writing the "
                          "sorting information into it: \"list.txt\" now holds part of what "
                          "that program wrote and part of the sorted list, and Quillan has left "
                          "it as it is. The list as it was before this sort is in the file \"" +
                              copy + "\".");
    EXPECT_EQ(platform::readFileBytes(copy), original);
}

// An editor that opens a list with a second name to save it while its sort information is
// written over it waits until the list is as it was again: its save then goes in whole, and
// the write-back says the list was changed.
TEST(WriteBackSafety, AnEditorOpeningTheListDuringItsOverwriteSavesOverItAsItWas) {
    WriterFixture f;
    const std::string original = crlf(records);
    readyToWriteOverInPlace(f, original);
    const std::string path = listUnderTest;
    const std::vector<std::string> before = entries(f.env.folder());
    static pid_t editor = -1;
    static const std::string saved = crlf({records[2], records[0]});
    static std::string asItWas;
    asItWas = original;
    StageHook hook([](platform::WriteStage at) {
        if (at != platform::WriteStage::PartWrittenInPlace)
            return;
        editor = test::startOtherProgramOpening(listUnderTest, O_RDWR, [](int fd) {
            if (platform::readFileBytes(listUnderTest) != asItWas)
                return 1;
            return ftruncate(fd, 0) == 0 && write(fd, saved.data(), saved.size()) > 0 ? 0 : 2;
        });
    });
    EXPECT_TRUE(test::writeSortInformation(f).failed);
    EXPECT_EQ(test::exitStatusOf(editor), 0);
    expectNotSavedOnly(f, "The file was changed by another program while Quillan was writing "
                          "the sorting information into it.");
    EXPECT_EQ(platform::readFileBytes(path), saved);
    EXPECT_EQ(entries(f.env.folder()), before);
}

// A save renamed over a list with a second name while it is written over in place holds the
// list's name; the sort went only into the other name, and the write-back fails, naming both.
TEST(WriteBackSafety, ASaveRenamedOverWhileTheListIsWrittenOverInPlaceIsTold) {
    WriterFixture f;
    const std::string original = crlf(records);
    const std::string path = f.write("list.txt", original);
    const std::string other = f.env.folder() + "other name.txt";
    ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
    ASSERT_EQ(f.open(path), path);
    const std::vector<std::string> before = entries(f.env.folder());
    EXPECT_TRUE(writeBackWithASaveAt(f, path, platform::WriteStage::PartWrittenInPlace));
    expectNotSavedOnly(f, "\"list.txt\" now holds that program's version, kept as it is. The "
                          "sorted list went into \"other name.txt\", the other name of the list "
                          "as Quillan read it");
    EXPECT_EQ(platform::readFileBytes(path), "the person's own save");
    EXPECT_EQ(f.fileLines(other).size(), records.size());
    EXPECT_NE(platform::readFileBytes(other), original);
    EXPECT_EQ(entries(f.env.folder()), before);
}

// A kill while an Access list's sort information replaces the database leaves the work copy
// and the database's temporary file beside it: both prove to be the program's own, and the
// next reading removes them, and nothing else.
TEST(WriteBackSafety, AKilledAccessWriteBackLeavesNothingOnceTheListIsReadAgain) {
    WriterFixture f;
    const std::string path = accessTable(f.env.folder() + "list.mdb", records);
    const std::vector<std::string> before = entries(f.env.folder());
    const Roles roles = {{"sort", 6}, {"tray", 7}, {"pkg", 8}};
    ASSERT_EQ(openWithRoles(f, path, roles), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    pid_t child = fork();
    if (child == 0) {
        // The engine replaces the work copy first, then the copy replaces the database.
        StageHook hook([](platform::WriteStage stage) {
            static int replacing = 0;
            if (stage == platform::WriteStage::ReplacingTheFile && ++replacing == 1)
                raise(SIGKILL);
        });
        test::writeSortInformation(f);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(entries(f.env.folder()).size(), before.size() + 2);

    WriterFixture g;
    ASSERT_EQ(openWithRoles(g, path, roles), path);
    EXPECT_EQ(entries(f.env.folder()), before);
}

namespace {

int stepsLeft = 0;
void killAtTheLastStep() {
    if (--stepsLeft == 0)
        raise(SIGKILL);
}

// A list of each kind, made anew in the fixture's folder and opened by `open`.
struct ListKind {
    const char* name;
    std::function<std::string(WriterFixture&)> make;
    std::function<std::string(WriterFixture&, const std::string&)> open;
};

std::string openAsIs(WriterFixture& f, const std::string& path) {
    return f.open(path);
}

std::vector<ListKind> everyKind() {
    auto text = [](const char* name, std::vector<std::string> lines) {
        return [name, lines](WriterFixture& f) { return f.write(name, crlf(lines)); };
    };
    auto withRoles = [](Roles roles) {
        return [roles](WriterFixture& f, const std::string& path) {
            return openWithRoles(f, path, roles);
        };
    };
    return {
        {KindTab, text("list.txt", records), openAsIs},
        {KindComma,
         text("list.txt", {"Ann,DALLAS,TX,75201", "Bo,DALLAS,TX,75202", "Cy,DALLAS,TX,75201"}),
         openAsIs},
        {KindMerge, text("list.txt", {"NAME,ZIP", "Ann,75201", "Bo,75202", "Cy,75201"}), openAsIs},
        {KindBar,
         text("list.txt", {"NAME|CITY|ST|ZIP|", "Ann|DALLAS|TX|75201|", "Bo|DALLAS|TX|75202|",
                           "Cy|DALLAS|TX|75201|"}),
         openAsIs},
        {KindDbase,
         [](WriterFixture& f) {
             return f.write("list.dbf",
                            dbfTable({{"NAME", 'C', 12}, {"ZIP", 'C', 10}, {"SORT", 'C', 10}},
                                     {{false, {"Ann", "75201"}},
                                      {false, {"Bo", "75202"}},
                                      {false, {"Cy", "75201"}}}));
         },
         openAsIs},
        {KindExcel,
         [](WriterFixture& f) {
             const std::string path = f.env.folder() + "list.xls";
             writeWorkbook(path,
                           {{"List",
                             {{std::string("Ann"), std::string("75201"), std::string("old")},
                              {std::string("Bo"), std::string("75202"), std::string("old")},
                              {std::string("Cy"), std::string("75201"), std::string("old")}}}});
             return path;
         },
         withRoles({{"zip", 1}, {"sort", 2}})},
        {KindAccess,
         [](WriterFixture& f) { return accessTable(f.env.folder() + "list.mdb", records); },
         withRoles({{"sort", 6}, {"tray", 7}, {"pkg", 8}})},
    };
}

} // namespace

// A kill at every step at which a write-back of each kind of list names, exchanges, cuts or
// removes a file of the program's own beside the list (the temporary file, the Access work
// copy): the next reading finds the list whole, as it was or sorted, and removes every file
// of the program's, and a person's hidden files beside the list stay, whatever their names.
TEST(WriteBackSafety, AKillAtEveryStepOfTheProgramsOwnFilesLeavesNothingOfThemForEveryKind) {
    for (const ListKind& kind : everyKind()) {
        WriterFixture f;
        int steps = 0;
        for (int step = 1;; ++step) {
            SCOPED_TRACE(std::string(kind.name) + ", kill at step " + std::to_string(step));
            std::error_code ec;
            for (const std::string& name : entries(f.env.folder()))
                if (name.rfind("list.", 0) == 0 || name.rfind(".list.", 0) == 0)
                    fs::remove(f.env.folder() + name, ec);
            const std::string path = kind.make(f);
            const std::string hidden = "." + fs::path(path).filename().string();
            for (const char* ending :
                 {".quillan-0123456789abcdef", ".sorting-0123456789abcdef", ".Backup"})
                f.write(hidden + ending, "a person's own");
            const std::vector<std::string> before = entries(f.env.folder());
            pid_t child = fork();
            if (child == 0) {
                if (kind.open(f, path) != path)
                    _exit(2);
                presortByZip(f.reading.mailing);
                f.mailClass = *MailClass::fromCode("RNAF");
                stepsLeft = step;
                platform::setOwnFileStepHook(killAtTheLastStep);
                _exit(test::writeSortInformation(f).failed ? 1 : 0);
            }
            int status = 0;
            waitpid(child, &status, 0);
            const bool killed = WIFSIGNALED(status);
            if (!killed) {
                ASSERT_EQ(WEXITSTATUS(status), 0);
            }
            ASSERT_EQ(kind.open(f, path), path);
            EXPECT_EQ(f.reading.mailing.recordCount(), 3);
            EXPECT_EQ(entries(f.env.folder()), before);
            if (!killed) {
                steps = step - 1;
                break;
            }
        }
        EXPECT_GE(steps, 4) << kind.name;
    }
}
