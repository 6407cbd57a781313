#include "platform/fs/AtomicFile.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

TEST_F(AtomicFileTest, FailureLeavesTheOriginalUntouched) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    put(path("list.txt"), "precious");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    WriteResult result = writeFileAtomically(path("list.txt"), "new");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(readFileBytes(path("list.txt")).value(), "precious");
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
