// A list with a name in another folder than the one written: a write over it in place is
// killed, and the person reads or saves it under either name. The copy of the list as it was
// goes back into the file as long as any name of the person's holds it, wherever that name
// is; nothing of the program's is left, and nothing the person saved is written over.

#include "platform/fs/AtomicFile.h"
#include "platform/fs/InterruptedWrite.h"
#include "platform/fs/KeptMark.h"
#include "platform/fs/KeptOriginal.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

std::string lines(char tag, size_t bytes) {
    std::string out;
    for (int n = 0; out.size() < bytes; ++n)
        out += tag + std::to_string(n) + " 9 OAK ST, DALLAS, TX 75201\r\n";
    return out;
}

const std::string original = lines('o', 200000);
const std::string sorted = lines('n', 260000);
const std::string edited = lines('e', 1000);

void put(const std::string& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// The steps of the program's own files (or the stage) the child takes before it is killed.
int stepsLeft = 0;
void killAtTheLastStep() {
    if (--stepsLeft == 0)
        raise(SIGKILL);
}

// What the person does after the kill, before reading the list again.
enum class After { Nothing, RenamedOverTheFirst, CopiedInAfterDeleting, BothNamesGone };

const char* afterName(After a) {
    static const char* names[] = {"nothing done", "a save renamed over a/list.txt",
                                  "a/list.txt deleted and a new one copied in",
                                  "a save renamed over a/list.txt and b/other.txt deleted"};
    return names[static_cast<int>(a)];
}

class KeptCopyElsewhere : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("elsewhere-" + std::to_string(getpid()) + "-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(root);
        fs::create_directories(root / "state");
        // Where the file system refuses extended attributes, the mark is a record of the
        // user's under the state folder.
        setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
        setExtendedAttributesRefused(GetParam());
        first = (root / "a" / "list.txt").string();
        second = (root / "b" / "other.txt").string();
    }
    void TearDown() override {
        setExtendedAttributesRefused(false);
        fs::remove_all(root);
    }
    void makeList() {
        fs::remove_all(root / "a");
        fs::remove_all(root / "b");
        fs::create_directories(root / "a");
        fs::create_directories(root / "b");
        put(first, original);
        ASSERT_EQ(link(first.c_str(), second.c_str()), 0);
    }
    static std::vector<std::string> entries(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Writes the sort over a/list.txt in a child killed at its `step`-th own-file step (0:
    // at the first block written in place); whether the child was killed.
    bool killedWriting(int step) {
        pid_t child = fork();
        if (child == 0) {
            stepsLeft = step;
            if (step > 0)
                setOwnFileStepHook(killAtTheLastStep);
            else
                setWriteStageHook([](WriteStage at) {
                    if (at == WriteStage::PartWrittenInPlace)
                        raise(SIGKILL);
                });
            _exit(writeFileAtomically(first, sorted).ok ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }
    void personDoes(After after) {
        if (after == After::Nothing)
            return;
        fs::remove(first);
        const std::string save = (root / "a" / "save.tmp").string();
        put(save, edited);
        if (after == After::CopiedInAfterDeleting)
            put(first, edited);
        else
            fs::rename(save, first);
        fs::remove(save);
        if (after == After::BothNamesGone)
            fs::remove(second);
    }
    // Nothing of the program's stays: no hidden file beside either name, no record of a mark.
    void expectNothingOfTheProgramsLeft(const std::vector<std::string>& inA) {
        EXPECT_EQ(entries(root / "a"), inA);
        if (fs::exists(second)) {
            EXPECT_EQ(entries(root / "b"), std::vector<std::string>{"other.txt"});
            int fd = open(second.c_str(), O_RDONLY);
            EXPECT_EQ(markedKeptCopy(fd), "");
            close(fd);
        }
        EXPECT_TRUE(!fs::exists(root / "state" / "quillan" / "kept") ||
                    fs::is_empty(root / "state" / "quillan" / "kept"));
    }
    fs::path root;
    std::string first, second;
};

} // namespace

// Killed inside the overwrite, then read under either name, with or without a save of the
// person's over a/list.txt: the file the write left goes back under every name that still
// holds it (found through the mark from another folder, put back through the held name
// where the name written is another file now); the copy is handed over only when no name
// of the person's holds the file any more.
TEST_P(KeptCopyElsewhere, TheCopyGoesBackUnderEveryNameThatStillHoldsTheFile) {
    for (After after : {After::Nothing, After::RenamedOverTheFirst, After::CopiedInAfterDeleting,
                        After::BothNamesGone}) {
        for (const std::string* read : {&first, &second}) {
            if (after == After::BothNamesGone && read == &second)
                continue;
            SCOPED_TRACE(std::string(afterName(after)) + ", read " + *read);
            makeList();
            ASSERT_TRUE(killedWriting(0));
            ASSERT_NE(readFileBytes(second), original);
            personDoes(after);
            const InterruptedWrite found = recoverInterruptedWrite(*read);
            EXPECT_TRUE(found.error.empty()) << found.error;
            EXPECT_TRUE(found.damagedCopy.empty());
            const bool firstSaved = after != After::Nothing;
            if (after == After::BothNamesGone) {
                EXPECT_FALSE(found.restored);
                ASSERT_EQ(found.leftAlone.size(), 1u);
                EXPECT_TRUE(found.leftAlone[0].changedNames.empty());
                EXPECT_EQ(readFileBytes(found.leftAlone[0].copy), original);
                expectNothingOfTheProgramsLeft({"list.txt", "list.txt.before-sorting"});
                EXPECT_EQ(readFileBytes(first), edited);
                continue;
            }
            EXPECT_TRUE(found.restored);
            EXPECT_TRUE(found.leftAlone.empty());
            EXPECT_EQ(found.fileName, "list.txt");
            std::vector<std::string> names;
            if (!firstSaved)
                names.push_back(first);
            if (read == &second)
                names.push_back(second);
            EXPECT_EQ(found.names, names);
            EXPECT_EQ(found.namesElsewhere, read == &second ? 0 : 1);
            EXPECT_EQ(readFileBytes(second), original);
            EXPECT_EQ(readFileBytes(first), firstSaved ? edited : original);
            expectNothingOfTheProgramsLeft({"list.txt"});
            // Read again, under either name: nothing more is found.
            for (const std::string* again : {&first, &second}) {
                const InterruptedWrite later = recoverInterruptedWrite(*again);
                EXPECT_TRUE(later.keptCopy.empty() && later.leftAlone.empty());
            }
        }
    }
}

// A kill at every step of the write in place that names or removes a file of the program's
// own (the copy, the held name, the mark): whichever name is read next, and whether or not
// the person saved a/list.txt by rename first, the file under b/other.txt is as it was or
// wholly written, never half; the person's save stays; nothing of the program's is left.
TEST_P(KeptCopyElsewhere, AKillAtEveryStepLeavesOnlyWhatTheNextReadingCleans) {
    int steps = 0;
    for (After after : {After::Nothing, After::RenamedOverTheFirst}) {
        for (bool readSecond : {false, true}) {
            for (int step = 1;; ++step) {
                SCOPED_TRACE(std::string(afterName(after)) +
                             (readSecond ? ", read b" : ", read a") + ", kill at step " +
                             std::to_string(step));
                makeList();
                const bool killed = killedWriting(step);
                personDoes(after);
                // Read under one name, then the other: a mark left stale by a kill after its
                // copy went is seen only through a name of the file it is on.
                recoverInterruptedWrite(readSecond ? second : first);
                recoverInterruptedWrite(readSecond ? first : second);
                const std::optional<std::string> left = readFileBytes(second);
                EXPECT_TRUE(left == original || left == sorted);
                EXPECT_EQ(readFileBytes(first), after == After::Nothing ? left : edited);
                expectNothingOfTheProgramsLeft({"list.txt"});
                if (!killed) {
                    steps = std::max(steps, step - 1);
                    break;
                }
            }
        }
    }
    // The copy named, the file held and marked, then the held name, the copy and the mark
    // removed.
    EXPECT_GE(steps, 6);
}

// A mark that names no copy kept of this very file (its copy gone, or a copy of another
// file) proves nothing: it goes, silently, and the file is read as it is.
TEST_P(KeptCopyElsewhere, AStaleMarkIsRemovedSilently) {
    makeList();
    const std::string copyOfAnother = (root / "a" / ".list.txt.original-1").string();
    for (const std::string& named : {(root / "a" / "gone").string(), copyOfAnother}) {
        SCOPED_TRACE(named);
        put(copyOfAnother, original);
        int fd = open(second.c_str(), O_RDWR);
        ASSERT_EQ(markKeptCopy(fd, named), 0);
        ASSERT_EQ(markedKeptCopy(fd), named);
        const InterruptedWrite found = recoverInterruptedWrite(second);
        EXPECT_TRUE(found.keptCopy.empty() && found.leftAlone.empty());
        EXPECT_TRUE(found.damagedCopy.empty());
        EXPECT_EQ(markedKeptCopy(fd), "");
        close(fd);
        EXPECT_EQ(readFileBytes(second), original);
        EXPECT_EQ(readFileBytes(copyOfAnother), original) << "a person's file stays";
    }
}

INSTANTIATE_TEST_SUITE_P(Marks, KeptCopyElsewhere, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("RecordedForTheUser")
                                               : std::string("OnTheFile");
                         });
