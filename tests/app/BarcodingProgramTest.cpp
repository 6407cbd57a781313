// Finding and starting the barcoding program: the candidate folders, the user's choice,
// and a real start whose list path arrives as one argument.

#include "app/BarcodingProgram.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quillan;
using namespace platform;

namespace {

const char* kFindTitle = "Find Tarnwick. (It is named \"twk\" or \"twk.exe\".)";

void writeProgram(const std::string& path, const std::string& script) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << script;
    fs::permissions(path, fs::perms::owner_all);
}

} // namespace

TEST(BarcodingProgram, CandidatesLieInTheParentOfTheProgramFolder) {
    EXPECT_EQ(barcodingProgramCandidates("/apps/Mail/"),
              (std::vector<std::string>{"/apps/Brakkel/twk", "/apps/Tarnwick/twk"}));
    EXPECT_EQ(barcodingProgramCandidates("/Mail/"),
              (std::vector<std::string>{"/Brakkel/twk", "/Tarnwick/twk"}));
    EXPECT_TRUE(barcodingProgramCandidates("/").empty());
    EXPECT_TRUE(barcodingProgramCandidates("").empty());
}

TEST(BarcodingProgram, TheFirstCandidateFoundIsStartedOnTheList) {
    test::TestEnvironment env;
    env.context().paths.programFolder = env.folder() + "Mail/";
    writeProgram(env.folder() + "Tarnwick/twk", "");
    RunBarcodingProgram(env.context(), "/lists/a b.txt");
    writeProgram(env.folder() + "Brakkel/twk", "");
    RunBarcodingProgram(env.context(), "/lists/c.txt");
    ASSERT_EQ(env.shell.calls.size(), 2u);
    EXPECT_EQ(env.shell.calls[0].program, env.folder() + "Tarnwick/twk");
    EXPECT_EQ(env.shell.calls[0].arguments, std::vector<std::string>{"/lists/a b.txt"});
    EXPECT_EQ(env.shell.calls[1].program, env.folder() + "Brakkel/twk");
    EXPECT_TRUE(env.ui.formLog().empty()) << "no need to ask";
}

TEST(BarcodingProgram, WithoutTheProgramTheUserIsAskedAndNothingChosenStartsNothing) {
    test::TestEnvironment env;
    env.context().paths.programFolder = env.folder() + "Mail/";
    env.ui.chooseFile(std::nullopt);
    RunBarcodingProgram(env.context(), "/lists/c.txt");
    EXPECT_TRUE(env.shell.calls.empty());
    EXPECT_EQ(env.ui.formLog(), std::vector<std::string>{std::string("open ") + kFindTitle});
    EXPECT_TRUE(env.ui.messages().empty()) << "nothing is reported";

    env.ui.chooseFile("/opt/tarnwick/twk");
    RunBarcodingProgram(env.context(), "/lists/c.txt");
    ASSERT_EQ(env.shell.calls.size(), 1u);
    EXPECT_EQ(env.shell.calls[0].program, "/opt/tarnwick/twk");
}

TEST(BarcodingProgram, ARealStartPassesTheListPathAsOneArgument) {
    test::TestEnvironment env;
    ProcessShell shell;
    ProgramPaths paths = env.context().paths;
    paths.programFolder = env.folder() + "Mail/";
    AppContext ctx(Platform{env.ui, env.printer, env.help, shell, env.config}, paths);
    ctx.setNotices(env.notices);
    std::string received = env.folder() + "received";
    writeProgram(env.folder() + "Brakkel/twk", "#!/bin/sh\nprintf '%s\\n%s' \"$#\" \"$1\" > '" +
                                                   received + ".part'\nmv '" + received +
                                                   ".part' '" + received + "'\n");
    std::string list = env.folder() + "my list \"quoted\" 'x' $(touch pwned) ;.txt";
    RunBarcodingProgram(ctx, list);
    EXPECT_EQ(test::waitForFile(received), "1\n" + list);
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(env.folder() + "pwned"));
}
