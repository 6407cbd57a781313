// The settings dialogs on the real Qt backend (offscreen): each is shown unattended, which
// presses its default button, and then saved as a picture for a person to look at.

#include "app/AppContext.h"
#include "app/DataFiles.h"
#include "app/Program.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quillan;

TEST(SettingsDialogScreens, EveryDialogIsDrawnWithItsLoadedSettings) {
    std::string folder = test::artefactFolder() + "qt-dialogs-" + std::to_string(getpid()) + "/";
    fs::remove_all(folder);
    fs::create_directories(folder + "tables");
    for (const auto& e : fs::directory_iterator(test::geographyFolder()))
        if (e.path().extension() == ".dat")
            fs::copy_file(e.path(), folder + "tables/" + e.path().filename().string());
    platform::ProgramPaths paths = platform::resolveProgramPaths(folder);
    static int argc = 1;
    static char name[] = "settings_dialog_screens";
    static char* argv[] = {name, nullptr};
    platform::QtPlatform qt(argc, argv, paths);
    ASSERT_TRUE(qt.unattended());
    {
        AppContext ctx(qt.platform(), paths, {});
        Program program(ctx);
        ctx.dataFolder = paths.dataFolder;
        LoadDataFiles(ctx);

        EXPECT_EQ(program.mailTypeDlog().EditMailCategories(0), 1);
        EXPECT_EQ(program.mlrInfoDlog().EditMailerInfo(1), 1);
        EXPECT_EQ(program.periodicalDlog().EditPeriodicalSettings(0), 1);
        EXPECT_EQ(program.prefDlog().EditPreferences(1), 1);
        std::vector<std::pair<platform::Form*, const char*>> shots = {
            {&program.mailTypeDlog().form(), "MailTypeDlog.png"},
            {&program.mlrInfoDlog().form(), "MlrInfoDlog.png"},
            {&program.periodicalDlog().form(), "PeriodicalDlog.png"},
            {&program.prefDlog().form(), "PrefDlog.png"},
        };
        for (auto [form, file] : shots) {
            std::string png = test::artefactFolder() + file;
            ASSERT_TRUE(qt.saveScreenshot(*form, png)) << file;
            EXPECT_EQ(test::layoutProblems(*form), std::vector<std::string>{}) << file;
        }
    }
    fs::remove_all(folder);
}
