// The print-selection dialog in its after-sort form and the "Printing" box as a person
// sees them, drawn by the real windows on Qt's offscreen platform.

#include "app/CancelPrintDialog.h"
#include "app/PrintSelectDialog.h"
#include "platform/qt/QtPlatform.h"
#include "tests/support/QtLayoutCheck.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace platform;

TEST(PrintDialogs, Screenshots) {
    static int argc = 1;
    static char name[] = "reports_qt_tests";
    static char* argv[] = {name, nullptr};
    quillan::test::TestEnvironment env;
    ProgramPaths paths = resolveProgramPaths(env.folder());
    QtPlatform qt(argc, argv, paths);
    quillan::AppContext ctx(qt.platform(), paths);

    quillan::PrintSelectDialog select(ctx);
    select.showReportChoices(true);
    Form& form = select.form();
    form.setCaption("Sorting is complete. Ready to print reports.");
    form.control("printerName").setCaption(ctx.platform.printer.printerName());
    for (const char* box : {"statement", "SortReport", "QualReport", "TagReport"})
        form.control(box).setChecked(true);
    form.control("FromPage").setText("1");
    form.control("ToPage").setText("9999");
    std::string selectPng = quillan::test::artefactFolder() + "print-select-dialog.png";
    ASSERT_TRUE(qt.saveScreenshot(form, selectPng));
    EXPECT_EQ(quillan::test::layoutProblems(form), std::vector<std::string>{});

    quillan::CancelPrintDialog box(ctx);
    box.showPage(3);
    std::string boxPng = quillan::test::artefactFolder() + "printing-box.png";
    ASSERT_TRUE(qt.saveScreenshot(box.form(), boxPng));
    EXPECT_EQ(quillan::test::layoutProblems(box.form()), std::vector<std::string>{});
    box.close();
}
