// A real sort of the sample mailing list with the shipped tables, its postage statement
// printed by the PDF printer and read back as text by an independent reader; the pages are
// kept among the test artefacts for a person to look at.

#include "app/DataFiles.h"
#include "app/Program.h"
#include "core/SortResults.h"
#include "core/money/Money.h"
#include "core/postage/StatementPostage.h"
#include "listio/SortInformationWriter.h"
#include "platform/qt/QtPrinter.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <QGuiApplication>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

using namespace quillan;

TEST(StatementPdf, SampleListSortPrintsItsTotalOnTheFacsimile) {
    static int argc = 1;
    static char name[] = "app_statement_pdf";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    test::TestEnvironment env;
    env.copyStatementForms();
    std::string folder = test::artefactFolder() + "statement/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    platform::QtPrinter printer(folder + "printed/");
    AppContext ctx(platform::Platform{env.ui, printer, env.help, env.shell, env.config},
                   platform::resolveProgramPaths(env.folder()));
    ctx.dataFolder = ctx.paths.dataFolder;
    LoadDataFiles(ctx);
    Program program(ctx);
    program.sortCommands().writeSortInformation = [](const SortInformationJob&) {
        return SortInformationResult{};
    };

    std::string list = env.folder() + "texas-mailing.txt";
    fs::copy_file(std::string(QUILLAN_TEST_DATA) + "/../../samples/texas-mailing.txt", list);
    env.ui.chooseFile(list);
    env.ui.pressWhenShown("VerifyDlog", "OKBtn");
    env.ui.whenShown("PrintSelectDlog", [](platform::Form& form) {
        for (const char* box : {"SortReport", "QualReport", "TagReport"})
            form.control(box).setChecked(false);
        form.control("statement").setChecked(true);
        form.control("OKBtn").userClick();
    });
    program.sortOneList();
    std::string pdf = folder + "sample-statement.pdf";
    ASSERT_FALSE(printer.lastOutput().empty());
    fs::rename(printer.lastOutput(), pdf);

    test::TestMailing read;
    std::optional<SortedMailing> sorted = test::loadSortResults(read, ctx);
    ASSERT_TRUE(sorted);
    StatementPostage postage = computeStatementPostage(*sorted);
    std::string text = test::runCommand("pdftotext -layout '" + pdf + "' -");
    EXPECT_NE(text.find(currencyTotalText(postage.total)), std::string::npos) << text;
    EXPECT_NE(text.find(currencyText(postage.total)), std::string::npos);
    EXPECT_NE(text.find(std::to_string(sorted->pieceCount())), std::string::npos);
    EXPECT_NE(text.find("Facsimile"), std::string::npos);
    std::string info = test::runCommand("pdfinfo '" + pdf + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +2\n"))) << info;
    test::runCommand("pdftoppm -png -r 80 '" + pdf + "' '" + folder + "sample-statement'");

    // A range past the statement's two pages writes no file at all.
    env.ui.whenShown("PrintSelectDlog", [](platform::Form& form) {
        form.control("FromPage").userSetText("3");
        form.control("ToPage").userSetText("4");
        form.control("OKBtn").userClick();
    });
    program.printCommands().reprint(AfterSortReport::Statement);
    EXPECT_TRUE(fs::is_empty(folder + "printed/"));
    EXPECT_TRUE(env.ui.messages().empty());
}
