// The commands that print without sorting: the twelve postal lists and the reprints of the
// last sort from the sort-result file.

#include "app/Program.h"
#include "core/ShortDate.h"
#include "core/SortResults.h"
#include "listio/SortInformationWriter.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct Printing {
    Printing() : env(test::geographyFolder()), program(env.context()) {
        env.load();
        env.ui.clearRecords();
    }
    AppContext& ctx() { return env.context(); }
    PrintSession& session() { return program.printSession(); }
    MenuItem& entry(const std::string& name) {
        return *program.mainWindow().form().findMenuItem(name);
    }
    bool printed(const std::string& text) const {
        for (const std::string& entry : env.printer.log())
            if (entry.rfind("text ", 0) == 0 && entry.size() > text.size() &&
                entry.compare(entry.size() - text.size(), text.size(), text) == 0)
                return true;
        return false;
    }
    // A sort of 500 Standard automation letters whose reports are skipped, leaving its
    // sort-result file.
    void sortAndSkipPrinting() {
        ctx().lists.mailTypeList[1] = "3";
        std::string path = env.folder() + "list.txt";
        std::ofstream out(path, std::ios::binary);
        out << "NAME,ZIP\r\n";
        for (int i = 0; i < 500; ++i)
            out << "P" << i << "," << (i % 2 ? "75201" : "75202") << "-1234\r\n";
        out.close();
        program.sortCommands().writeSortInformation = [](const SortInformationJob&) {
            return SortInformationResult{};
        };
        env.ui.chooseFile(path);
        env.ui.pressWhenShown("VerifyDlog", "OKBtn");
        env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
        program.sortOneList();
        ASSERT_TRUE(std::filesystem::exists(env.folder() + "qlPrint"));
        env.ui.clearRecords();
    }

    test::TestEnvironment env;
    Program program;
};

} // namespace

TEST(PostalListPrintCommands, EveryListPrintsWithoutTouchingTheWorkTables) {
    Printing p;
    for (const PostalList& list : postalLists()) {
        EXPECT_TRUE(p.entry(MainWindow::editPostalListEntry(list.number)).enabled);
        MenuItem& print = p.entry(MainWindow::printPostalListEntry(list.number));
        EXPECT_TRUE(print.enabled);
        EXPECT_EQ(print.caption, list.menuEntry);
    }
    p.session().justSorted = true;
    p.env.ui.whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Ready to print postal sorting lists.");
        EXPECT_FALSE(form.control("ReportSelect").visible());
        form.control("OKBtn").userClick();
    });
    p.entry("PntSCFSacks").onClick();
    EXPECT_TRUE(p.printed("SCF SPRINGFIELD MA 010"));
    EXPECT_TRUE(p.printed("Sectional Center Facilities Labels - " + todayShortDate()));
    EXPECT_FALSE(p.session().justSorted);
    EXPECT_TRUE(p.env.ui.unexpected().empty());

    // Cancel prints nothing.
    p.env.printer.clearLog();
    p.env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
    p.entry("PeriodicalZones2").onClick();
    EXPECT_TRUE(p.env.printer.log().empty());
}

// A reprint is offered exactly when the program has the printer of its report.
TEST(ReprintCommands, MenuEntriesFollowThePrintersOfTheAfterSortRun) {
    Printing p;
    const AfterSortPrinters& printers = p.program.printRun().printers;
    EXPECT_EQ(p.entry("PrintPostageStatement1").enabled,
              bool(printers[AfterSortReport::Statement]));
    EXPECT_EQ(p.entry("Reprint").enabled, bool(printers[AfterSortReport::Instructions]));
    EXPECT_EQ(p.entry("PrintQualificationReport1").enabled,
              bool(printers[AfterSortReport::Qualification]));
    EXPECT_EQ(p.entry("PntLabels").enabled, bool(printers[AfterSortReport::Tags]));
}

TEST(ReprintCommands, PrintFromTheSortResultFileOrSaySortFirst) {
    Printing p;
    std::vector<std::string> calls;
    int32_t sortGroupsSeen = -1;
    auto note = [&](const char* report) {
        return [&, report](const SortedMailing& mailing) {
            calls.push_back(report);
            sortGroupsSeen = static_cast<int32_t>(mailing.sortGroups().size());
            EXPECT_GT(mailing.containers().size(), 1u);
            EXPECT_FALSE(p.session().justSorted);
        };
    };
    AfterSortPrinters& printers = p.program.printRun().printers;
    printers[AfterSortReport::Statement] = note("statement");
    printers[AfterSortReport::Instructions] = note("instructions");
    printers[AfterSortReport::Qualification] = note("qualification");
    printers[AfterSortReport::Tags] = note("tags");
    PrintCommands& commands = p.program.printCommands();
    auto reprintAll = [&] {
        for (AfterSortReport report : AfterSortReports)
            commands.reprint(report);
    };

    reprintAll();
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(p.env.ui.messages().size(), 4u);
    for (const auto& m : p.env.ui.messages())
        EXPECT_EQ(m.text, "You must sort a file before you print sack labels or reprint a report.");

    p.sortAndSkipPrinting();
    p.session().justSorted = true;
    commands.reprint(AfterSortReport::Instructions);
    EXPECT_GT(sortGroupsSeen, 1) << "the complete sort is read back";
    commands.reprint(AfterSortReport::Tags);
    EXPECT_EQ(sortGroupsSeen, 0) << "the tags read only the trays";
    calls.clear();
    reprintAll();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"statement", "instructions", "qualification", "tags"}));
    EXPECT_TRUE(p.env.ui.messages().empty());

    // A printer that fails is reported and the tables are reset all the same.
    printers[AfterSortReport::Tags] = [](const SortedMailing&) {
        throw FileError("The tag printer failed.");
    };
    commands.reprint(AfterSortReport::Tags);
    ASSERT_EQ(p.env.ui.messages().size(), 1u);
    EXPECT_EQ(p.env.ui.messages()[0].text, "The tag printer failed.");
}

TEST(ReprintCommands, QualificationReportPrintsAfterTheSortAndFromTheMenu) {
    Printing p;
    Preferences& prefs = p.ctx().lists.prefsList;
    for (AfterSortReport report : AfterSortReports)
        prefs.setPrintsAfterSort(report, report == AfterSortReport::Qualification);
    p.ctx().lists.mailTypeList[1] = "3";
    std::string path = p.env.folder() + "list.txt";
    std::ofstream out(path, std::ios::binary);
    out << "NAME,ZIP\r\n";
    for (int i = 0; i < 500; ++i)
        out << "P" << i << "," << (i % 2 ? "75201" : "75202") << "-1234\r\n";
    out.close();
    p.program.sortCommands().writeSortInformation = [](const SortInformationJob&) {
        return SortInformationResult{};
    };
    p.env.ui.chooseFile(path);
    p.env.ui.pressWhenShown("VerifyDlog", "OKBtn");
    p.env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    p.program.sortOneList();
    EXPECT_TRUE(p.printed("Report: USPS Qualification Report"));
    EXPECT_TRUE(p.printed("Automation 5-Digit (5B)"));
    EXPECT_EQ(p.env.printer.documentCount(), 1);

    p.env.printer.clearLog();
    p.env.ui.whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Ready to print rate qualification report.");
        form.control("OKBtn").userClick();
    });
    p.entry("PrintQualificationReport1").onClick();
    EXPECT_TRUE(p.printed("Report: USPS Qualification Report"));
    EXPECT_TRUE(p.printed("TOTAL Automation"));
    EXPECT_EQ(p.env.printer.documentCount(), 2);
}

namespace {

// The log of the last instructions document the printer was given, page headers left out.
std::vector<std::string> instructionsDocument(const std::vector<std::string>& log) {
    std::vector<std::string> document;
    bool inside = false;
    for (const std::string& entry : log) {
        if (entry == "title Quillan Mail Prep Instructions") {
            inside = true;
            document.clear();
        } else if (entry.rfind("title ", 0) == 0) {
            inside = false;
        }
        if (inside && entry.find(" - Page ") == std::string::npos)
            document.push_back(entry);
    }
    return document;
}

} // namespace

// File > Print Mail Preparation Instructions reads the sort back and prints what the run
// after the sort printed.
TEST(ReprintCommands, TheInstructionsReprintAsTheyPrintedAfterTheSort) {
    Printing p;
    ASSERT_TRUE(p.entry("Reprint").enabled);
    Preferences& prefs = p.ctx().lists.prefsList;
    for (AfterSortReport report : AfterSortReports)
        prefs.setPrintsAfterSort(report, report == AfterSortReport::Instructions);
    p.ctx().lists.mailTypeList[1] = "1";
    std::string path = p.env.folder() + "list.txt";
    std::ofstream out(path, std::ios::binary);
    out << "NAME,ZIP\r\n";
    for (int i = 0; i < 400; ++i)
        out << "P" << i << "," << (i % 3 ? "75201" : i % 2 ? "14001" : "7520") << "\r\n";
    out.close();
    p.program.sortCommands().writeSortInformation = [](const SortInformationJob&) {
        return SortInformationResult{};
    };
    p.env.ui.chooseFile(path);
    p.env.ui.pressWhenShown("VerifyDlog", "OKBtn");
    p.env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    p.program.sortOneList();
    std::vector<std::string> afterSort = instructionsDocument(p.env.printer.log());
    ASSERT_GT(afterSort.size(), 100u);

    p.env.printer.clearLog();
    p.env.ui.whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Ready to print mail preparation instructions.");
        form.control("OKBtn").userClick();
    });
    p.entry("Reprint").onClick();
    EXPECT_EQ(instructionsDocument(p.env.printer.log()), afterSort);
    EXPECT_TRUE(p.env.ui.messages().empty());
    EXPECT_TRUE(p.env.ui.unexpected().empty());
}
