#include "core/SettingsList.h"
#include "core/settings/MailerSettings.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

using namespace quillan;

TEST(SettingsList, SplitsAtEveryKindOfLineEnd) {
    auto lines = SettingsList::splitLines("zero\r\none\rtwo\nthree\r\n\r\nfive");
    std::vector<std::string> expected = {"zero", "one", "two", "three", "", "five"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(SettingsList::splitLines("").empty());
    EXPECT_EQ(SettingsList::splitLines("\n").size(), 1u);
    EXPECT_EQ(SettingsList::splitLines("a\r").size(), 1u);
}

TEST(SettingsList, SavesCrLfAfterEveryLineAndKeepsLineZero) {
    std::string path =
        std::filesystem::temp_directory_path() / ("settings-" + std::to_string(getpid()) + ".dat");
    std::ofstream(path, std::ios::binary) << "unused\rone\ntwo\r\nthree";
    SettingsList list;
    list.loadFromFile(path);
    ASSERT_EQ(list.count(), 4);
    list[2] = "TWO";
    list.saveToFile(path);
    EXPECT_EQ(platform::readFileBytes(path).value(), "unused\r\none\r\nTWO\r\nthree\r\n");
    std::filesystem::remove(path);
}

TEST(SettingsList, ReadingPastTheEndNamesTheLine) {
    test::TestEnvironment env;
    env.writeTable("mailer.dat", "a\r\nb\r\n");
    SettingsList list;
    list.loadFromFile(env.tablesFolder() + "mailer.dat");
    try {
        (void)list[5];
        FAIL();
    } catch (const ListIndexError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
        EXPECT_EQ(e.index(), 5);
        EXPECT_EQ(e.fileName(), env.tablesFolder() + "mailer.dat");
    }
    EXPECT_THROW((void)list[-1], ListIndexError);
    EXPECT_THROW((void)std::as_const(list)[2], ListIndexError) << "read-only lists check too";
}

// A line that must be a number and holds anything else (a file filled with junk) names the
// file and the line, as a line missing does.
TEST(SettingsList, ALineThatIsNoNumberNamesTheFileAndLine) {
    test::TestEnvironment env;
    env.writeTable("mailer.dat", "\r\nDALLAS\r\nTX\r\n\xCC\xEFu\r\n7\r\n");
    SettingsList lines;
    lines.loadFromFile(env.tablesFolder() + "mailer.dat");
    MailerSettings mailer(std::move(lines));
    for (auto read : {std::function<void()>([&] { (void)mailer.zipPrefix(); }),
                      std::function<void()>([&] { (void)mailer.numberAt(2); })}) {
        try {
            read();
            FAIL();
        } catch (const SettingsLineError& e) {
            EXPECT_NE(std::string(e.what()).find("Quillan's own file mailer.dat is damaged: line "),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(mailer.numberAt(4), 7);
}

// The tables folder linked elsewhere is never written through.
TEST(SettingsList, AFolderThatIsALinkIsNotWrittenThrough) {
    namespace fs = std::filesystem;
    const fs::path scratch = fs::temp_directory_path() / ("linked-" + std::to_string(getpid()));
    fs::create_directories(scratch / "real");
    fs::create_directory_symlink(scratch / "real", scratch / "tables");
    SettingsList list({"", "t"});
    try {
        list.saveToFile((scratch / "tables" / "prefs.dat").string());
        ADD_FAILURE();
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("tables is a symbolic link"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(scratch / "real"));
    fs::remove_all(scratch);
}

TEST(SettingsList, UnreadableFileIsAnError) {
    SettingsList list;
    EXPECT_THROW(list.loadFromFile("/nonexistent/tdlist.dat"), FileError);
}
