// The label-list editor and the ZIP chart editor drawn by the real windows on Qt's
// offscreen platform, each in the form that shows all its controls, and checked for layout.

#include "app/DataFiles.h"
#include "app/Program.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;

TEST(PostalListEditorScreens, BothEditorsShowEveryControl) {
    static int argc = 1;
    static char name[] = "postal_list_editor_screens";
    static char* argv[] = {name, nullptr};
    test::TestEnvironment env;
    platform::ProgramPaths paths = platform::resolveProgramPaths(env.folder());
    platform::QtPlatform qt(argc, argv, paths);
    AppContext ctx(qt.platform(), paths);
    Program program(ctx);
    ctx.dataFolder = paths.dataFolder;
    LoadDataFiles(ctx);

    // The ADC list has all three tag lines; the 3-digit chart has unique cities.
    LabelListDialog& labels = program.updateDlog();
    labels.open(4);
    labels.form().control("Label2").setText("LETTERS");
    labels.form().control("Label3").setText("FLATS");
    ZipChartDialog& zips = program.editZipsDlog();
    zips.load(1, 3);
    for (auto [form, file] : {std::pair{&labels.form(), "label-list-editor.png"},
                              std::pair{&zips.form(), "zip-chart-editor.png"}}) {
        for (const auto& control : form->controls())
            EXPECT_TRUE(control->visible()) << file << ": " << control->name();
        ASSERT_TRUE(qt.saveScreenshot(*form, test::artefactFolder() + file)) << file;
        EXPECT_EQ(test::layoutProblems(*form), std::vector<std::string>{}) << file;
    }
    EXPECT_EQ(labels.form().caption(), "ADC Labels - Standard");
    EXPECT_EQ(labels.form().control("Label1").text(), "ADC LONG ISLAND NY 117");
    EXPECT_FALSE(zips.form().control("ZipList").text().empty());
}
