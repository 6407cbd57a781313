#include "platform/config/ConfigStore.h"
#include "platform/fs/AtomicFile.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

TEST(ProcessShell, ArgumentsArriveUnsplitAndUnexpanded) {
    fs::path folder = fs::temp_directory_path() / ("shell-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path script = folder / "echo-args";
    fs::path out = folder / "args.txt";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
                          << out.string() << ".part && mv " << out.string() << ".part "
                          << out.string() << "\n";
    chmod(script.c_str(), 0755);
    std::string tricky = "my list \"final\" $(touch " + (folder / "pwned").string() + ").txt";
    ProcessShell shell;
    ASSERT_TRUE(shell.start(script.string(), {tricky}));
    EXPECT_EQ(quillan::test::waitForFile(out.string()), tricky + "\n");
    EXPECT_FALSE(fs::exists(folder / "pwned"));
    EXPECT_FALSE(shell.start((folder / "no-such-program").string(), {}));
    fs::remove_all(folder);
}

TEST(ConfigStore, ValuesSurviveAReloadAndLineBreaksCannotForgeKeys) {
    fs::path file = fs::temp_directory_path() / ("config-" + std::to_string(getpid())) / "q.conf";
    {
        ConfigStore store(file.string());
        EXPECT_FALSE(store.read("dao/version").has_value());
        ASSERT_TRUE(store.write("dao/version", "3.6"));
        ASSERT_TRUE(store.write("alias/x", "a\nforged=1"));
    }
    ConfigStore again(file.string());
    EXPECT_EQ(again.read("dao/version").value_or(""), "3.6");
    EXPECT_EQ(again.read("alias/x").value_or(""), "a forged=1");
    EXPECT_FALSE(again.read("forged").has_value());
    fs::remove_all(file.parent_path());
}
