#include "platform/config/ConfigStore.h"
#include "platform/fs/AtomicFile.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
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

namespace {

// Children of this process that ended and were never waited for.
int defunctChildren() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        count += state == 'Z' && parent == getpid() ? 1 : 0;
    }
    return count;
}

// Waits, however busy the machine, for a started program to end.
int endOf(const ChildProgram& child) {
    while (!child.exitStatus())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return *child.exitStatus();
}

} // namespace

TEST(ProcessShell, AProgramNamedAloneIsFoundOnThePathAndReapedWhenItEnds) {
    fs::path folder = fs::temp_directory_path() / ("shell-path-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::path script = folder / "quillan-opener";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > " << (folder / "opened").string()
                          << "\nexit 3\n";
    chmod(script.c_str(), 0755);
    std::string path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    ProcessShell shell;
    std::shared_ptr<ChildProgram> child = shell.start("quillan-opener", {"/a folder/"});
    setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(child);
    EXPECT_EQ(endOf(*child), 3);
    EXPECT_EQ(quillan::test::waitForFile((folder / "opened").string()), "/a folder/");
    EXPECT_EQ(defunctChildren(), 0);
    EXPECT_FALSE(shell.start("quillan-no-such-opener", {}));
    std::shared_ptr<ChildProgram> killed = shell.start("/bin/sh", {"-c", "kill -9 $$"});
    ASSERT_TRUE(killed);
    EXPECT_EQ(endOf(*killed), 128 + 9);
    EXPECT_EQ(defunctChildren(), 0);
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
