// The print-selection dialog and its range rules, and the "Printing" box's cancel button.

#include "app/PrintSelectDialog.h"
#include "app/CancelPrintDialog.h"
#include "app/PrintJobDialogs.h"
#include "core/Convert.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct PrintSelectTest : ::testing::Test {
    test::TestEnvironment env;
    PrintSelectDialog dialog{env.context()};

    // Queues a person who types the range and presses Print.
    void printRange(std::string from, std::string to) {
        env.ui.whenShown("PrintSelectDlog", [from, to](Form& f) {
            if (!from.empty())
                f.control("FromPage").userSetText(from);
            if (!to.empty())
                f.control("ToPage").userSetText(to);
            f.control("OKBtn").userClick();
        });
    }
    std::string from() { return dialog.form().control("FromPage").text(); }
    std::string to() { return dialog.form().control("ToPage").text(); }
};

} // namespace

TEST_F(PrintSelectTest, AcceptedRangesFillEmptyEnds) {
    printRange("3", "3");
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1);
    EXPECT_EQ(dialog.fromPage(), 3);
    EXPECT_EQ(dialog.toPage(), 3);

    printRange("4", "");
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1);
    EXPECT_EQ(from(), "4");
    EXPECT_EQ(to(), "9999");

    env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1) << "all pages, both edits emptied by activation";
    EXPECT_EQ(from(), "1");
    EXPECT_EQ(to(), "9999");
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_TRUE(env.ui.unexpected().empty());
}

TEST_F(PrintSelectTest, ToBeforeFromIsRefusedOverTheOpenDialogWithTheRangeKept) {
    printRange("5", "2");
    std::string keptFrom, keptTo;
    env.ui.whenShown("PrintSelectDlog", [&](Form& f) {
        keptFrom = f.control("FromPage").text();
        keptTo = f.control("ToPage").text();
        f.control("ToPage").userSetText("7");
        f.control("OKBtn").userClick();
    });
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.messages()[0].kind, MessageKind::Warning);
    EXPECT_EQ(env.ui.messages()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(env.ui.messages()[0].text, "\"From\" page cannot be higher than \"To\" page.");
    EXPECT_EQ(env.ui.messages()[0].over, "PrintSelectDlog");
    EXPECT_EQ(env.ui.beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
    EXPECT_EQ(keptFrom, "5");
    EXPECT_EQ(keptTo, "2");
    EXPECT_EQ(dialog.fromPage(), 5);
    EXPECT_EQ(dialog.toPage(), 7);
}

TEST_F(PrintSelectTest, TypingChoosesPagesFromAndAllPagesKeepsTheTypedRange) {
    env.ui.whenShown("PrintSelectDlog", [](Form& f) {
        f.control("FromPage").userSetText("2");
        EXPECT_TRUE(f.control("SomePages").checked());
        EXPECT_FALSE(f.control("AllPages").checked());
        f.control("ToPage").userSetText("1"); // would be refused under "Pages from:"
        f.control("AllPages").userClick();
        EXPECT_FALSE(f.control("SomePages").checked());
        f.control("OKBtn").userClick();
    });
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1);
    EXPECT_EQ(from(), "2");
    EXPECT_EQ(to(), "1");
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST_F(PrintSelectTest, APageThatIsNotANumberEndsThePrintCommand) {
    printRange("x", "4");
    try {
        dialog.RunPrintRangeDialog();
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}

TEST_F(PrintSelectTest, ActivationShowsPrinterAndResetsCopiesAndSetupRenamesThePrinter) {
    const auto& copies = dialog.form().control("Copies");
    EXPECT_EQ(copies.items(),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    dialog.form().control("Copies").setItemIndex(9);
    EXPECT_EQ(dialog.copyCount(), 10);
    env.ui.answerPrinterSetup(true);
    env.ui.whenShown("PrintSelectDlog", [&](Form& f) {
        EXPECT_EQ(f.control("printerName").caption(), "Recording Printer");
        EXPECT_EQ(f.control("Copies").itemIndex(), 0);
        env.printer.setPrinterIndex(5); // the setup dialog chose a printer the list lacks
        f.control("setup").userClick();
        EXPECT_EQ(f.control("printerName").caption(), "");
        f.control("Copies").userSetItemIndex(2);
        f.control("OKBtn").userClick();
    });
    EXPECT_EQ(dialog.RunPrintRangeDialog(), 1);
    EXPECT_EQ(dialog.copyCount(), 3);
    EXPECT_NE(std::find(env.ui.formLog().begin(), env.ui.formLog().end(), "printer setup"),
              env.ui.formLog().end());
}

TEST_F(PrintSelectTest, AfterASortTheReportBoxAnswersWithoutADialog) {
    CancelPrintDialog box(env.context());
    PrintJobDialogs job(dialog, box);
    dialog.form().control("QualReport").setChecked(true);
    EXPECT_TRUE(job.askToPrint("Ready to print rate qualification report.",
                               AfterSortReport::Qualification));
    EXPECT_FALSE(job.askToPrint("Ready to print tags. Be sure tag stock is in printer.",
                                AfterSortReport::Tags));
    EXPECT_TRUE(env.ui.formLog().empty());

    env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
    EXPECT_FALSE(job.askToPrint("Ready to print rate qualification report.", std::nullopt));
    EXPECT_EQ(dialog.form().caption(), "Ready to print rate qualification report.");
}

TEST(CancelPrint, CancelSetsTheFlagAndHidesTheBox) {
    test::TestEnvironment env;
    CancelPrintDialog box(env.context());
    box.showPage(7);
    EXPECT_TRUE(box.form().visible());
    EXPECT_EQ(box.form().caption(), "Printing");
    EXPECT_EQ(box.form().control("Page").caption(), "7");
    box.form().control("OKButton").userClick();
    EXPECT_TRUE(box.cancelPressed());
    EXPECT_FALSE(box.form().visible());
    box.clearCancel();
    EXPECT_FALSE(box.cancelPressed());
}
