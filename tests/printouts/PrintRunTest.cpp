// Report pages on the recording printer: header text and position, the page range, the
// run's page counter across reports, copies and the "Printing" box's cancel.

#include "printouts/PrintRun.h"
#include "app/PrintJobDialogs.h"
#include "app/ProgramPrintSession.h"
#include "core/ShortDate.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace quillan;
using namespace platform;

namespace {

// A print run over a recording printer of the given set-up.
struct Rig {
    test::TestEnvironment env;
    RecordingPrinter printer;
    AppContext ctx;
    PrintSelectDialog select{ctx};
    CancelPrintDialog box{ctx};
    PrintJobDialogs job{select, box};
    PrintSession session = programPrintSession(ctx, job, env.notices);
    PrintRun run{session};

    explicit Rig(RecordingPrinter::Setup setup = {}, std::string from = "1",
                 std::string to = "9999", int copies = 1)
        : printer(setup), ctx(Platform{env.ui, printer, env.help, env.shell, env.config},
                              resolveProgramPaths(env.folder())) {
        select.form().control("FromPage").setText(from);
        select.form().control("ToPage").setText(to);
        select.form().control("Copies").setItemIndex(copies - 1);
    }

    // A report of `pages` pages as the instruction drivers lay one out: the first page is
    // the document's first sheet, each later one starts with StartReportPage.
    void printReport(int pages) {
        session.runPageNumber = session.justSorted ? session.runPageNumber + 1 : 1;
        run.reportPageNumber = 1;
        run.mailPrepMode = true;
        run.pageInRange = session.runPageNumber >= run.fromPage();
        for (int p = 2; p <= pages && !session.stopPrinting; ++p)
            run.StartReportPage("sort");
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& entry : printer.log())
            if (entry.rfind("text ", 0) == 0)
                out.push_back(entry);
        return out;
    }
    long count(const std::string& entry) const {
        return std::count(printer.log().begin(), printer.log().end(), entry);
    }
};

} // namespace

TEST(PrintRun, HeaderIsRightAlignedThirtySixPointsFromTheRightEdge) {
    Rig r;
    r.run.runCopies("Quillan Mail Prep Instructions", [&] { r.printReport(2); });
    std::string header =
        "Quillan Mail Preparation Instructions - " + todayShortDate() + " - Page 2";
    // 600 dpi: 36 pt = 300 px, 30 pt = 250 px; the recording metric gives 50 px a character
    // at 12 pt.
    int x = 5100 - 300 - 50 * static_cast<int>(header.size());
    std::vector<std::string> expected = {"title Quillan Mail Prep Instructions",
                                         "begindoc",
                                         "font Arial 12",
                                         "moveto 0 0",
                                         "newpage",
                                         "moveto 0 300",
                                         "font Arial 12 I",
                                         "text " + std::to_string(x) + " 300 " + header,
                                         "moveto 300 550",
                                         "font Arial 12 I",
                                         "font Arial 12",
                                         "enddoc"};
    EXPECT_EQ(r.printer.log(), expected);
    EXPECT_EQ(r.session.runPageNumber, 2);
    EXPECT_EQ(r.box.form().control("Page").caption(), "2");
    EXPECT_FALSE(r.box.form().visible()) << "closed at the end of the document";
}

TEST(PrintRun, PointsRoundHalvesToEvenAndTheFontSizeComesBack) {
    // 81 dpi: 36 pt is 40.5 px, which rounds to 40 (half up would give 41).
    Rig r({81, 81, 689, 891, {0, 0}});
    r.run.runCopies("Quillan Verification Report", [&] {
        r.run.setFontSize(10);
        r.run.StartReportPage("sort");
        EXPECT_EQ(r.run.font().size, 10);
        EXPECT_FALSE(r.run.font().italic);
    });
    std::string header = "Quillan Verification Report - " + todayShortDate() + " - Page 1";
    int x = 689 - 40 - 7 * static_cast<int>(header.size()); // 7 px a character
    EXPECT_EQ(r.count("text " + std::to_string(x) + " 40 " + header), 1)
        << ::testing::PrintToString(r.texts());
    EXPECT_EQ(r.count("moveto 40 74"), 1) << "30 pt is 33.75 px: 34 below the header";
}

TEST(PrintRun, PagesBeforeFromAreLaidOutButNotDrawn) {
    Rig r({}, "3", "9999");
    r.run.runCopies("Quillan Mail Prep Instructions", [&] { r.printReport(4); });
    auto drawn = r.texts();
    ASSERT_EQ(drawn.size(), 2u) << ::testing::PrintToString(drawn);
    EXPECT_NE(drawn[0].find(" - Page 3"), std::string::npos);
    EXPECT_NE(drawn[1].find(" - Page 4"), std::string::npos);
    EXPECT_EQ(r.printer.pageCount(), 2) << "page 3 on the first sheet, page 4 on the next";
    auto pageFour = std::find(r.printer.log().begin(), r.printer.log().end(), drawn[1]);
    EXPECT_EQ(std::count(r.printer.log().begin(), pageFour, "newpage"), 1);
}

TEST(PrintRun, RunPageNumberRunsOnAcrossReportsOfOneRun) {
    Rig r;
    r.session.justSorted = true;
    r.session.runPageNumber = 0;
    r.run.runCopies("Quillan Mail Prep Instructions", [&] { r.printReport(2); });
    r.run.runCopies("Quillan Verification Report", [&] { r.printReport(2); });
    EXPECT_EQ(r.session.runPageNumber, 4);
    auto drawn = r.texts();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_NE(drawn[1].find(" - Page 2"), std::string::npos) << "the report's own number";
    EXPECT_EQ(r.box.form().control("Page").caption(), "4") << "the box shows the run's number";
}

TEST(PrintRun, TagsStartBelowTheUnprintableTopMargin) {
    Rig near({600, 600, 5100, 6600, {0, 120}});
    near.run.runCopies("Quillan Tray Tags", [&] { near.run.StartReportPage("sacks"); });
    EXPECT_EQ(near.printer.penPosition(), (Point{0, 300 - 120}));
    EXPECT_TRUE(near.texts().empty()) << "tags carry no header";

    Rig far({600, 600, 5100, 6600, {0, 301}});
    far.run.runCopies("Quillan Tray Tags", [&] { far.run.StartReportPage("sacks"); });
    EXPECT_EQ(far.printer.penPosition(), (Point{0, 1500 - 301})) << "180 pt less the margin";
}

TEST(PrintRun, CopiesPrintOneDocumentEachUntilCancelled) {
    Rig r({}, "1", "9999", 3);
    r.run.runCopies("Quillan Mail Prep Instructions", [&] { r.printReport(2); });
    EXPECT_EQ(r.printer.documentCount(), 3);

    r.printer.clearLog();
    int pagesStarted = 0;
    r.run.runCopies("Quillan Mail Prep Instructions", [&] {
        r.session.runPageNumber = 1;
        r.run.reportPageNumber = 1;
        r.run.pageInRange = true;
        while (!r.session.stopPrinting && pagesStarted < 10) {
            r.run.StartReportPage("sort");
            if (++pagesStarted == 2) // the person presses Cancel while page 3 prints
                r.box.form().control("OKButton").userClick();
        }
    });
    EXPECT_EQ(pagesStarted, 3);
    EXPECT_EQ(r.count("newpage"), 2) << "no page is started after the cancel";
    EXPECT_EQ(r.count("enddoc"), 1) << "no further copy";
    EXPECT_EQ(r.texts().size(), 2u);
    EXPECT_FALSE(r.box.form().visible());
    EXPECT_FALSE(r.env.ui.busyCursor());
}

// The box shows each page to a person who may cancel; with nobody at a display it stays
// hidden, and the pages print all the same.
TEST(PrintRun, ThePrintingBoxShowsThePageOnlyToSomeoneAtADisplay) {
    for (bool display : {true, false}) {
        Rig r;
        r.env.ui.setHasDisplay(display);
        r.run.runCopies("Quillan Mail Prep Instructions", [&] {
            r.printReport(3);
            EXPECT_EQ(r.box.form().visible(), display);
            if (display) {
                EXPECT_EQ(r.box.form().control("Page").caption(), "3");
            }
        });
        EXPECT_EQ(r.count("newpage"), 2);
        EXPECT_FALSE(r.box.form().visible());
    }
}

TEST(PrintRun, AReportThatFailsAbortsItsDocument) {
    Rig r({}, "1", "9999", 2);
    EXPECT_THROW(r.run.runCopies("Quillan Tray Tags",
                                 [&] {
                                     r.run.StartReportPage("sacks");
                                     throw std::runtime_error("List index out of bounds (7)");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(r.printer.log().back(), "abortdoc");
    EXPECT_EQ(r.count("begindoc"), 1);
    EXPECT_FALSE(r.box.form().visible());
    EXPECT_FALSE(r.env.ui.busyCursor());
}
