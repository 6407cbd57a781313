#include "platform/fs/AtomicFile.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("atomic-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    static void put(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }
    fs::path folder;
};

TEST_F(AtomicFileTest, ReplacesContentsAndKeepsPermissions) {
    put(path("list.txt"), "old contents");
    chmod(path("list.txt").c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(path("list.txt"), "new").ok);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "new");
    struct stat st {};
    stat(path("list.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), 1u) << "no temporary file may be left behind";
}

TEST_F(AtomicFileTest, FollowsSymbolicLinkToTheRealFile) {
    put(path("real.txt"), "old");
    fs::create_symlink(path("real.txt"), path("link.txt"));
    ASSERT_TRUE(writeFileAtomically(path("link.txt"), "new").ok);
    EXPECT_TRUE(fs::is_symlink(path("link.txt")));
    EXPECT_EQ(readFileBytes(path("real.txt")).value(), "new");
}

TEST_F(AtomicFileTest, WriteFailingPartWayLeavesTheOriginalUntouched) {
    put(path("list.txt"), "precious");
    // A file-size limit makes the write fail part way, even for root.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    WriteResult result = writeFileAtomically(path("list.txt"), std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "precious");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, AbandonedWriterRemovesItsTemporaryFile) {
    put(path("list.txt"), "precious");
    {
        AtomicFileWriter writer(path("list.txt"));
        writer.write("half of it");
    }
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "precious");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, MissingFileReadsAsNothing) {
    EXPECT_FALSE(readFileBytes(path("absent")).has_value());
    EXPECT_FALSE(fileExists(path("absent")));
}

namespace {

struct stat statOf(const std::string& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st;
}

// Runs `body` as the unprivileged user "nobody" in a child process and returns its exit
// status; -1 when this process cannot become another user.
template <typename Body>
int asNobody(Body body) {
    if (geteuid() != 0)
        return -1;
    pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace

TEST_F(AtomicFileTest, HardLinkedFileIsWrittenInPlaceSoEveryNameShowsIt) {
    put(path("list.txt"), "old contents, longer than the new");
    ASSERT_EQ(link(path("list.txt").c_str(), path("other.txt").c_str()), 0);
    const ino_t inode = statOf(path("list.txt")).st_ino;
    ASSERT_TRUE(writeFileAtomically(path("list.txt"), "new").ok);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "new");
    EXPECT_EQ(readFileBytes(path("other.txt")).value(), "new");
    EXPECT_EQ(statOf(path("list.txt")).st_ino, inode);
    EXPECT_EQ(entries(), 2u) << "no temporary file may be left behind";
    ASSERT_TRUE(writeFileAtomically(path("other.txt"), std::string(200000, 'y')).ok);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), std::string(200000, 'y'));
}

TEST_F(AtomicFileTest, OwnerGroupAndModeAreKept) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    put(path("list.txt"), "old");
    ASSERT_EQ(chown(path("list.txt").c_str(), 65534, 65534), 0);
    chmod(path("list.txt").c_str(), 0604);
    ASSERT_TRUE(writeFileAtomically(path("list.txt"), "new").ok);
    struct stat st = statOf(path("list.txt"));
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "new");
}

TEST_F(AtomicFileTest, FailureInAReadOnlyFolderLeavesTheOriginalUntouched) {
    put(path("list.txt"), "precious");
    chmod(path("list.txt").c_str(), 0666);
    chmod(folder.c_str(), 0555);
    auto attempt = [&] {
        WriteResult result = writeFileAtomically(path("list.txt"), "new");
        return !result.ok && !result.error.empty() ? 0 : 1;
    };
    // Root writes into read-only folders: the attempt is made as another user.
    int status = geteuid() == 0 ? asNobody(attempt) : attempt();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "precious");
}

TEST_F(AtomicFileTest, AnotherUsersFilesAreRefusedOrWrittenInPlace) {
    chmod(folder.c_str(), 0777);
    // Read-only for its owner: refused before anything is written.
    put(path("locked.txt"), "precious");
    chown(path("locked.txt").c_str(), 65534, 65534);
    chmod(path("locked.txt").c_str(), 0444);
    // Writable by all but owned by root: the new file could not be root's, so the old one
    // is written over and stays root's.
    put(path("shared.txt"), "old");
    chmod(path("shared.txt").c_str(), 0666);
    int status = asNobody([&] {
        AtomicFileWriter locked(path("locked.txt"));
        if (locked.ok() || !locked.targetReadOnly() || locked.commit().ok)
            return 1;
        return writeFileAtomically(path("shared.txt"), "new").ok ? 0 : 2;
    });
    if (status == -1)
        GTEST_SKIP() << "needs root to act as another user";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFileBytes(path("locked.txt")).value(), "precious");
    EXPECT_EQ(readFileBytes(path("shared.txt")).value(), "new");
    EXPECT_EQ(statOf(path("shared.txt")).st_uid, 0u);
    EXPECT_EQ(entries(), 2u);
}
