// Screenshots of the field identification dialog and the table selector on the real
// (offscreen) Qt backend, with the layout check.

#include "app/DataFiles.h"
#include "app/TableDialog.h"
#include "app/VerifyDialog.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quillan;

TEST(FieldDialogQt, ScreenshotShowsEveryControl) {
    std::string folder = test::artefactFolder() + "qt-verify-" + std::to_string(getpid()) + "/";
    fs::remove_all(folder);
    fs::create_directories(folder + "tables");
    for (const auto& e : fs::directory_iterator(QUILLAN_SHIPPED_TABLES))
        if (e.path().extension() == ".dat")
            fs::copy_file(e.path(), folder + "tables/" + e.path().filename().string());
    platform::ProgramPaths paths = platform::resolveProgramPaths(folder);
    static int argc = 1;
    static char name[] = "listio_qt_tests";
    static char* argv[] = {name, nullptr};
    platform::QtPlatform qt(argc, argv, paths);
    AppContext ctx(qt.platform(), paths, {});
    LoadDataFiles(ctx);
    // Periodicals in-county, results into a dBase list: every control is shown.
    ctx.lists.mailTypeList[1] = "5";
    ctx.lists.periodicalList[4] = "t";
    ctx.lists.prefsList[2] = "0";
    std::string list = test::fixturePath("lists/small.dbf");
    VerifyDialog dialog(ctx);
    FieldRoles roles;
    roles.zipColumn = 4;
    roles.cityColumn = 2;
    roles.stateColumn = 3;
    roles.sortColumn = 6;
    roles.countyColumn = 5;
    dialog.present({formatNamed(KindDbase), list, 8, 7, roles});
    std::string png = test::artefactFolder() + "field-dialog.png";
    ASSERT_TRUE(qt.saveScreenshot(dialog.form(), png));
    EXPECT_EQ(test::layoutProblems(dialog.form()), std::vector<std::string>{});
    for (const char* control : {"zip", "zip5", "zip4", "city", "state", "citystate", "sort", "tray",
                                "pkg", "oel", "county", "optional", "nextbtn", "prevbtn", "OKBtn",
                                "CancelBtn", "fileTypeLabel", "NewRecordsLabel"})
        EXPECT_TRUE(dialog.form().control(control).visible()) << control;
    EXPECT_EQ(dialog.form().control("zip").items().size(), 7u);
    EXPECT_EQ(dialog.form().control("zip").text(), "ZIP");
    fs::remove_all(folder);
}

TEST(FieldDialogQt, TableSelectorShowsItsNamesAndCaptions) {
    std::string folder = test::artefactFolder() + "qt-tables-" + std::to_string(getpid()) + "/";
    fs::remove_all(folder);
    fs::create_directories(folder + "tables");
    platform::ProgramPaths paths = platform::resolveProgramPaths(folder);
    static int argc = 1;
    static char name[] = "listio_qt_tests";
    static char* argv[] = {name, nullptr};
    platform::QtPlatform qt(argc, argv, paths);
    AppContext ctx(qt.platform(), paths, {});
    TableDialog dialog(ctx);
    for (const char* kind : {KindAccess, KindExcel}) {
        std::vector<std::string> names;
        for (int i = 1; i <= 20; ++i)
            names.push_back("Mailing list of the spring " + std::to_string(i));
        dialog.present(*formatNamed(kind), names);
        std::string png = test::artefactFolder() + "table-selector-" + kind + ".png";
        ASSERT_TRUE(qt.saveScreenshot(dialog.form(), png));
        EXPECT_EQ(test::layoutProblems(dialog.form()), std::vector<std::string>{}) << kind;
        EXPECT_EQ(dialog.form().control("TablesGrid").items().size(), 20u);
    }
    EXPECT_EQ(dialog.form().caption(), "Sheet Selector");
    fs::remove_all(folder);
}
