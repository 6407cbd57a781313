#include "platform/fs/AtomicFile.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// A group of this user's other than their own, where they belong to one; their own
// otherwise.
gid_t anotherGroupOfMine() {
    std::vector<gid_t> groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
    const int count = getgroups(static_cast<int>(groups.size()), groups.data());
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<size_t>(i)] != getegid())
            return groups[static_cast<size_t>(i)];
    return getegid();
}

// Runs `body` as the unprivileged user "nobody" in a child process and returns its exit
// status. Only the superuser can.
template <typename Body>
int asNobody(Body body) {
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

// The new file takes the old one's owner, group and mode. Only the superuser can give a file
// to another user; any other user's file keeps its user, and a group of the user's other
// than their own, where they belong to one.
TEST_F(AtomicFileTest, OwnerGroupAndModeAreKept) {
    const bool root = geteuid() == 0;
    const uid_t owner = root ? 65534 : geteuid();
    const gid_t group = root ? 65534 : anotherGroupOfMine();
    put(path("list.txt"), "old");
    ASSERT_EQ(chown(path("list.txt").c_str(), owner, group), 0);
    chmod(path("list.txt").c_str(), 0604);
    ASSERT_TRUE(writeFileAtomically(path("list.txt"), "new").ok);
    struct stat st = statOf(path("list.txt"));
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
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

// A file read-only for its owner is refused before anything is written. One writable by all
// but owned by root is written over in place, as the new file could not be root's, and stays
// root's. The superuser writes read-only files and owns every file it makes, so it makes the
// attempts as another user; any other user has no file of another owner to give, and
// checks the read-only file with one of their own.
TEST_F(AtomicFileTest, ReadOnlyFilesAreRefusedAndAnotherOwnersWrittenInPlace) {
    const bool root = geteuid() == 0;
    chmod(folder.c_str(), 0777);
    put(path("locked.txt"), "precious");
    if (root)
        chown(path("locked.txt").c_str(), 65534, 65534);
    chmod(path("locked.txt").c_str(), 0444);
    if (root) {
        put(path("shared.txt"), "old");
        chmod(path("shared.txt").c_str(), 0666);
    }
    auto attempt = [&] {
        AtomicFileWriter locked(path("locked.txt"));
        if (locked.ok() || !locked.targetReadOnly() || locked.commit().ok)
            return 1;
        if (!root)
            return 0;
        return writeFileAtomically(path("shared.txt"), "new").ok ? 0 : 2;
    };
    EXPECT_EQ(root ? asNobody(attempt) : attempt(), 0);
    EXPECT_EQ(readFileBytes(path("locked.txt")).value(), "precious");
    if (root) {
        EXPECT_EQ(readFileBytes(path("shared.txt")).value(), "new");
        EXPECT_EQ(statOf(path("shared.txt")).st_uid, 0u);
    }
    EXPECT_EQ(entries(), root ? 2u : 1u);
}
