// The postage statement as the program prints it: after a sort and from File > Print
// Postage Statement, on the recording printer, and a statement that cannot print.

#include "app/Program.h"
#include "listio/SortInformationWriter.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct StatementRun {
    StatementRun() : env(test::geographyFolder()), program(env.context()) {
        env.load();
        env.copyStatementForms();
        ctx().lists.mailTypeList[1] = "3"; // automation letters
        // After a sort only the statement prints.
        for (long line : {7, 8, 9})
            ctx().lists.prefsList[line] = "f";
        program.sortCommands().writeSortInformation = [this](const SortInformationJob&) {
            calls.push_back("writer");
            return SortInformationResult{};
        };
        env.ui.clearRecords();
    }
    AppContext& ctx() { return env.context(); }
    PrintSession& session() { return program.printSession(); }
    MenuItem& entry(const std::string& name) {
        return *program.mainWindow().form().findMenuItem(name);
    }
    void noteLaterReports() {
        AfterSortPrinters& printers = program.printRun().printers;
        printers[AfterSortReport::Instructions] = [this](const SortedMailing&) {
            calls.push_back("instructions");
        };
        printers[AfterSortReport::Tags] = [this](const SortedMailing&) { calls.push_back("tags"); };
    }
    // Sorts 500 automation letters, printing the reports ticked in the preferences.
    void sort() {
        std::string path = env.folder() + "list.txt";
        std::ofstream out(path, std::ios::binary);
        out << "NAME,ZIP\r\n";
        for (int i = 0; i < 500; ++i)
            out << "P" << i << "," << (i % 2 ? "75201" : "75202") << "-1234\r\n";
        out.close();
        env.ui.chooseFile(path);
        env.ui.pressWhenShown("VerifyDlog", "OKBtn");
        env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
        program.sortOneList();
    }
    int documents(const std::string& title) const {
        return static_cast<int>(
            std::count(env.printer.log().begin(), env.printer.log().end(), "title " + title));
    }

    test::TestEnvironment env;
    Program program;
    std::vector<std::string> calls;
};

} // namespace

TEST(StatementCommands, PrintedAfterASortAndAgainFromTheFileMenu) {
    StatementRun s;
    MenuItem& reprint = s.entry("PrintPostageStatement1");
    EXPECT_TRUE(reprint.enabled) << "the program has the statement's printer";

    s.sort();
    EXPECT_EQ(s.documents("Quillan Postage Statement"), 1);
    EXPECT_TRUE(s.env.ui.messages().empty());

    s.env.printer.clearLog();
    s.env.ui.whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Ready to print postage statement.");
        form.control("OKBtn").userClick();
    });
    reprint.onClick();
    EXPECT_EQ(s.documents("Quillan Postage Statement"), 1);
    EXPECT_EQ(s.env.printer.pageCount(), 2);
    EXPECT_FALSE(s.session().justSorted);
    EXPECT_TRUE(s.env.ui.messages().empty());
    EXPECT_TRUE(s.env.ui.unexpected().empty());
}

// A form file that is not there is one error; the reports after the statement and the
// write-back into the list still run.
TEST(StatementCommands, MissingFormFileIsOneErrorAndTheRunGoesOn) {
    StatementRun s;
    for (long line : {7, 9})
        s.ctx().lists.prefsList[line] = "t";
    s.noteLaterReports();
    std::filesystem::remove(s.env.folder() + "bitmaps/3602r.txt");
    s.sort();
    ASSERT_EQ(s.env.ui.messages().size(), 1u) << s.env.ui.messages().back().text;
    EXPECT_NE(s.env.ui.messages()[0].text.find("3602r.txt"), std::string::npos);
    EXPECT_EQ(s.documents("Quillan Postage Statement"), 0);
    EXPECT_EQ(s.calls, (std::vector<std::string>{"instructions", "tags", "writer"}));
}
