// The print run after a sort: the saved choices, "Skip Printing", the order and the To
// page across reports, "NOSTOP" and report printers this build does not have.

#include "printouts/AfterSortRun.h"
#include "app/AfterSortReports.h"
#include "app/PrintJobDialogs.h"
#include "app/ProgramPrintSession.h"
#include "core/Convert.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct AfterSort {
    test::TestEnvironment env;
    AppContext& ctx = env.context();
    PrintSelectDialog select{ctx};
    CancelPrintDialog box{ctx};
    PrintJobDialogs job{select, box};
    PrintSession session = programPrintSession(ctx, job, env.notices);
    PrintRun run{session};
    std::vector<std::string> printed;

    explicit AfterSort(std::vector<std::string> parameters = {}, std::string choices = "tftf")
        : env(test::geographyFolder(), std::move(parameters)) {
        env.load();
        for (long line = 6; line <= 9; ++line)
            ctx.lists.prefsList[line] = std::string(1, choices[static_cast<size_t>(line - 6)]);
        ctx.saveList(ctx.lists.prefsList, "prefs.dat");
        printer(AfterSortReport::Statement, "statement", 0);
        printer(AfterSortReport::Instructions, "instructions", 0);
        printer(AfterSortReport::Qualification, "qualification", 0);
        printer(AfterSortReport::Tags, "tags", 0);
    }

    // A report printer that notes its turn and advances the run by `pages` pages.
    void printer(AfterSortReport report, std::string name, int pages) {
        run.printers[report] = [this, name, pages](const SortedMailing&) {
            printed.push_back(name + " from " + intToStr(session.runPageNumber));
            session.runPageNumber += pages;
        };
    }
    // Empty tables: the run only hands the sort on.
    SortedMailing mailing() const { return test::mailingOf(test::TestMailing{}, ctx.lists); }
    std::string prefsLines() const {
        std::string s;
        for (long line = 6; line <= 9; ++line)
            s += ctx.lists.prefsList[line];
        return s;
    }
};

} // namespace

TEST(AfterSortRun, DialogShowsTheSavedChoicesAndPrintingSavesTheNewOnes) {
    AfterSort a;
    a.env.ui.whenShown("PrintSelectDlog", [](Form& f) {
        EXPECT_EQ(f.caption(), "Sorting is complete. Ready to print reports.");
        EXPECT_EQ(f.control("CancelBtn").caption(), "Skip Printing");
        for (const char* name : {"ReportSelect", "SortReport", "QualReport", "TagReport"})
            EXPECT_TRUE(f.control(name).visible()) << name;
        EXPECT_TRUE(f.control("statement").checked());
        EXPECT_FALSE(f.control("SortReport").checked());
        EXPECT_TRUE(f.control("QualReport").checked());
        EXPECT_FALSE(f.control("TagReport").checked());
        f.control("TagReport").userClick();
        f.control("statement").userClick();
        f.control("OKBtn").userClick();
    });
    a.session.runPageNumber = 12; // left over from an earlier run
    PrintReportsAfterSort(a.ctx, a.run, a.mailing());
    EXPECT_EQ(a.printed, (std::vector<std::string>{"qualification from 0", "tags from 0"}));
    EXPECT_TRUE(a.session.justSorted);
    EXPECT_EQ(a.prefsLines(), "fftt");
    auto saved = SettingsList::splitLines(a.env.readTable("prefs.dat"));
    EXPECT_EQ(std::string() + saved[6] + saved[7] + saved[8] + saved[9], "fftt");
    EXPECT_FALSE(a.select.form().control("ReportSelect").visible());
    EXPECT_FALSE(a.select.form().control("TagReport").visible());
    EXPECT_EQ(a.select.form().control("CancelBtn").caption(), "Cancel");
}

TEST(AfterSortRun, SkipPrintingPrintsAndSavesNothing) {
    AfterSort a({}, "tttt");
    std::string before = a.env.readTable("prefs.dat");
    a.env.ui.whenShown("PrintSelectDlog", [](Form& f) {
        f.control("statement").userClick();
        f.control("CancelBtn").userClick();
    });
    PrintReportsAfterSort(a.ctx, a.run, a.mailing());
    EXPECT_TRUE(a.printed.empty());
    EXPECT_EQ(a.env.readTable("prefs.dat"), before);
    EXPECT_EQ(a.prefsLines(), "tttt");
    EXPECT_FALSE(a.session.justSorted);
    EXPECT_EQ(a.select.form().control("CancelBtn").caption(), "Cancel");
}

TEST(AfterSortRun, ReportsAfterTheToPageAreSkipped) {
    AfterSort a({}, "tttt");
    a.printer(AfterSortReport::Statement, "statement", 2);
    a.printer(AfterSortReport::Instructions, "instructions", 1);
    a.env.ui.whenShown("PrintSelectDlog", [](Form& f) {
        f.control("ToPage").userSetText("3");
        f.control("OKBtn").userClick();
    });
    PrintReportsAfterSort(a.ctx, a.run, a.mailing());
    EXPECT_EQ(a.printed, (std::vector<std::string>{"statement from 0", "instructions from 2"}));
}

TEST(AfterSortRun, NostopPrintsEveryChosenReportWithoutADialogSkippingMissingPrinters) {
    AfterSort a({"list.txt", "nostop"}, "tttf");
    a.select.form().control("FromPage").setText("5");
    a.run.printers[AfterSortReport::Qualification] = nullptr; // not in this build
    PrintReportsAfterSort(a.ctx, a.run, a.mailing());
    EXPECT_TRUE(a.env.ui.formLog().empty()) << "no dialog";
    EXPECT_EQ(a.run.fromPage(), 1);
    EXPECT_EQ(a.run.toPage(), 9999);
    EXPECT_EQ(a.printed, (std::vector<std::string>{"statement from 0", "instructions from 0"}));
}

TEST(AfterSortRun, AReportThatFailsSaysSoOnceAndTheRunGoesOn) {
    AfterSort a({"list.txt", "nostop"}, "tttf");
    a.run.printers[AfterSortReport::Statement] = [](const SortedMailing&) {
        throw ConvertError("rates.dat, line 16: '0.2a' is not a valid floating point value");
    };
    PrintReportsAfterSort(a.ctx, a.run, a.mailing());
    ASSERT_EQ(a.env.ui.messages().size(), 1u);
    EXPECT_EQ(a.env.ui.messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(a.env.ui.messages()[0].text,
              "rates.dat, line 16: '0.2a' is not a valid floating point value");
    EXPECT_EQ(a.printed, (std::vector<std::string>{"instructions from 0", "qualification from 0"}));
}

TEST(AfterSortRun, ARangeThatIsNotANumberLeavesTheDialogPlainAndSavesNothing) {
    AfterSort a({}, "tttt");
    std::string before = a.env.readTable("prefs.dat");
    a.env.ui.whenShown("PrintSelectDlog", [](Form& f) {
        f.control("statement").userClick();
        f.control("FromPage").userSetText("one");
        f.control("ToPage").userSetText("3");
        f.control("OKBtn").userClick();
    });
    EXPECT_THROW(PrintReportsAfterSort(a.ctx, a.run, a.mailing()), ConvertError);
    EXPECT_TRUE(a.printed.empty());
    EXPECT_EQ(a.env.readTable("prefs.dat"), before);
    EXPECT_FALSE(a.select.form().control("ReportSelect").visible());
    EXPECT_EQ(a.select.form().control("CancelBtn").caption(), "Cancel");
}
