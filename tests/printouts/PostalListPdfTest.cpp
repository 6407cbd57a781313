// Postal lists of the shipped tables printed by the PDF printer and read back as text by an
// independent reader: every label is there with its ranges, and the pages are kept in the
// artefact folder for a person to look at.

#include "app/DataFiles.h"
#include "app/PrintJobDialogs.h"
#include "app/Program.h"
#include "app/ProgramPrintSession.h"
#include "core/PostalCharts.h"
#include "core/ZipRanges.h"
#include "platform/qt/QtPrinter.h"
#include "printouts/PostalListPrintout.h"
#include "tests/printouts/PdfReadBack.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace quillan {
namespace {

// The text with every run of blanks and line ends made one blank, so that the columns of
// a page read as a sequence of words.
std::string words(const std::string& text) {
    std::string out;
    for (char c : text) {
        bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\f';
        if (blank && (out.empty() || out.back() == ' '))
            continue;
        out += blank ? ' ' : c;
    }
    return out;
}

TEST(PostalListPdf, EveryLabelIsPrintedWithItsRanges) {
    test::PdfApplication application;

    test::TestEnvironment env;
    std::string folder = test::artefactFolder() + "postal-lists/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    platform::QtPrinter printer(folder);
    AppContext ctx(platform::Platform{env.ui, printer, env.help, env.shell, env.config},
                   platform::resolveProgramPaths(env.folder()));
    ctx.setNotices(env.notices);
    ctx.dataFolder = ctx.paths.dataFolder;
    LoadDataFiles(ctx);
    PrintSelectDialog select(ctx);
    CancelPrintDialog box(ctx);
    PrintJobDialogs job(select, box);
    PrintSession session = programPrintSession(ctx, job, env.notices);
    PrintRun run(session);

    for (int number : {1, 3, 8, 9, 10}) {
        env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
        PrintPostalLists(run, ctx.lists, number);
        // Each list's file is named after it ("BMC/ASF Entry" without its slash).
        std::string named = "Quillan " + std::string(postalList(number).menuEntry) + " ";
        std::replace(named.begin(), named.end(), '/', '-');
        EXPECT_EQ(fs::path(printer.lastOutput()).filename().string().rfind(named, 0), 0u)
            << printer.lastOutput();
        std::string pdf = folder + "list-" + std::to_string(number) + ".pdf";
        fs::rename(printer.lastOutput(), pdf);
        std::string text = words(test::runCommand("pdftotext -raw '" + pdf + "' -"));
        EXPECT_NE(text.find(postalListTitle(number)), std::string::npos) << number;

        const PostalList& list = postalList(number);
        const SettingsList& labels = ctx.lists.*list.labels;
        const SettingsList& chart = ctx.lists.*list.chart;
        for (int32_t n = 1; n < labels.count(); ++n) {
            std::string label = splitEntry(labels[n]).line1;
            if (number == 3)
                label = "SCF " + label;
            EXPECT_NE(text.find(words(label)), std::string::npos) << number << ": " << label;
            // A wrapped range text reads back whole: its lines follow each other.
            std::string ranges = zipRangesForLabel(chart, n).ranges;
            if (ranges.size() > 60) {
                EXPECT_NE(text.find(words(ranges)), std::string::npos) << number << ": " << ranges;
            }
        }
        test::runCommand("pdftoppm -r 60 -png -f 1 -l 2 '" + pdf + "' '" + folder + "list-" +
                         std::to_string(number) + "'");
    }
    EXPECT_TRUE(env.ui.unexpected().empty());
}

// After a print run the main window says where the PDF files went, by folder and name, and
// opens that folder on request; the next command takes the note away.
TEST(PostalListPdf, TheMainWindowSaysWhereThePrintoutsWent) {
    test::PdfApplication application;
    test::TestEnvironment env;
    const platform::ProgramPaths paths = platform::resolveProgramPaths(env.folder());
    platform::QtPrinter printer(paths.printoutsFolder);
    AppContext ctx(platform::Platform{env.ui, printer, env.help, env.shell, env.config}, paths);
    Program program(ctx);
    ctx.dataFolder = paths.dataFolder;
    LoadDataFiles(ctx);
    platform::Form& window = program.mainWindow().form();
    EXPECT_FALSE(window.control("PrintoutsNote").visible());

    env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    window.findMenuItem(MainWindow::printPostalListEntry(1))->onClick();
    const std::vector<std::string>& note = window.control("PrintoutsNote").lines();
    ASSERT_TRUE(window.control("PrintoutsNote").visible());
    ASSERT_EQ(note.size(), 4u);
    EXPECT_EQ(note[1], paths.printoutsFolder);
    EXPECT_EQ(note[3], fs::path(printer.lastOutput()).filename().string());
    EXPECT_EQ(note[3].rfind("Quillan 3-Digit Labels ", 0), 0u) << note[3];
    EXPECT_TRUE(fs::exists(paths.printoutsFolder + note[3]));

    window.control("OpenFolderBtn").userClick();
    ASSERT_EQ(env.shell.calls.size(), 1u);
    EXPECT_EQ(env.shell.calls[0].arguments, std::vector<std::string>{paths.printoutsFolder});

    env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
    window.findMenuItem(MainWindow::printPostalListEntry(3))->onClick();
    EXPECT_FALSE(window.control("PrintoutsNote").visible()) << "nothing printed this time";
    EXPECT_FALSE(window.control("OpenFolderBtn").visible());
}

} // namespace
} // namespace quillan
