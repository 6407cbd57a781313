// The tag-font, statement and rate dialogs as real Qt windows (offscreen): each is run
// through its command unattended (OK throughout) and saved as a PNG under the build folder's
// test-artefacts/ for a person to look at.

#include "app/DataFiles.h"
#include "app/LabelFontsDialog.h"
#include "app/RateEditors.h"
#include "app/StatementInfoDialog.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace quillan;

namespace {

struct QtProgram {
    std::string folder;
    platform::ProgramPaths paths;
    std::unique_ptr<platform::QtPlatform> qt;
    std::unique_ptr<AppContext> ctx;

    QtProgram() {
        folder = test::artefactFolder() + "dialogs-" + std::to_string(getpid()) + "/";
        fs::remove_all(folder);
        fs::create_directories(folder + "tables");
        for (const auto& e : fs::directory_iterator(QUILLAN_SHIPPED_TABLES))
            if (e.path().extension() == ".dat")
                fs::copy_file(e.path(), folder + "tables/" + e.path().filename().string());
        paths = platform::resolveProgramPaths(folder);
        static int argc = 1;
        static char name[] = "dialog_screenshots";
        static char* argv[] = {name, nullptr};
        qt = std::make_unique<platform::QtPlatform>(argc, argv, paths);
        ctx = std::make_unique<AppContext>(qt->platform(), paths);
        LoadDataFiles(*ctx);
    }
    ~QtProgram() { fs::remove_all(folder); }

    void shoot(platform::Form& form, const std::string& name) {
        std::string png = test::artefactFolder() + name + ".png";
        ASSERT_TRUE(qt->saveScreenshot(form, png)) << png;
        EXPECT_EQ(test::layoutProblems(form), std::vector<std::string>{}) << name;
    }
};

QtProgram& program() {
    static QtProgram p;
    return p;
}

} // namespace

TEST(DialogScreenshots, TagFontsAndStatementInformation) {
    AppContext& ctx = *program().ctx;
    LabelFontsDialog fonts(ctx);
    fonts.SetLabelFonts1Click();
    const auto& select = fonts.form().control("FontSelect");
    ASSERT_GE(select.itemIndex(), 0) << "the Qt printer offers the installed fonts";
    EXPECT_EQ(ctx.lists.fontsList[1], select.items()[static_cast<size_t>(select.itemIndex())]);
    program().shoot(fonts.form(), "label-fonts-dialog");

    StatementInfoDialog statement(ctx);
    ctx.lists.statementList.set(9, "7");
    EXPECT_TRUE(statement.StatementInformationCaller("no"));
    EXPECT_EQ(statement.form().control("cassmonth").text(), "07");
    program().shoot(statement.form(), "statement-information-dialog");
}

TEST(DialogScreenshots, RatePages) {
    AppContext& ctx = *program().ctx;
    RateDialog1 letter(ctx);
    RateDialog2 nonletter(ctx);
    RateDialog3 piecePound(ctx);
    RateDialogF firstClass(ctx);
    RateDialogP periodical(ctx);
    RateEditors editors(ctx, letter, nonletter, piecePound, firstClass, periodical);
    editors.editStandardRates();
    editors.editFirstClassRates();
    editors.editPeriodicalRates();
    EXPECT_EQ(letter.form().control("Edit1").text(), ctx.lists.ratesList[48]);
    program().shoot(letter.form(), "rate-dialog-1-letters");
    program().shoot(nonletter.form(), "rate-dialog-2-nonletters");
    program().shoot(piecePound.form(), "rate-dialog-3-piece-pound");
    program().shoot(firstClass.form(), "rate-dialog-f-first-class");
    program().shoot(periodical.form(), "rate-dialog-p-periodicals");
    periodical.setInCounty(true);
    program().shoot(periodical.form(), "rate-dialog-p-in-county");
    periodical.setInCounty(false);
}
