// The mail preparation instructions through the PDF writer, read back as text: a reprint
// from the sort-result file says what the print after the sort said.

#include "core/SortResults.h"
#include "platform/qt/QtPrinter.h"
#include "tests/printouts/InstructionsRig.h"
#include "tests/printouts/PdfReadBack.h"
#include "tests/support/MailingOf.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;
using namespace quillan;
using test::InstructionsRig;

namespace {

// The text of a PDF without its page headers (they carry the date).
std::string textWithoutHeaders(const std::string& pdf) {
    std::istringstream in(test::runCommand("pdftotext -layout '" + pdf + "' -"));
    std::string kept;
    for (std::string line; std::getline(in, line);)
        if (line.find(" - Page ") == std::string::npos)
            kept += line + "\n";
    return kept;
}

} // namespace

TEST(InstructionsOnPaper, AReprintSaysWhatThePrintAfterTheSortSaid) {
    test::PdfApplication application;
    std::string folder = test::pdfFolder("instructions");
    platform::QtPrinter printer(folder);
    InstructionsRig r("1", "0", printer);
    fs::copy_file(std::string(QUILLAN_SHIPPED_TABLES) + "/stampbw.bmp",
                  r.ctx().dataFile("stampbw.bmp"));
    const SortedMailing& sorted =
        r.sort("75201x300, 75202x40, 14001x60, 14101x25, 96701x30, 01234x12, !07520x2");
    int32_t containers = static_cast<int32_t>(sorted.containers().size());
    // After the sort the statement's pages come first; the instructions number on from them.
    r.session().runPageNumber = 2;
    r.printInstructions();
    std::string afterSort = printer.lastOutput();

    ASSERT_TRUE(test::loadSortResults(r.rig.work, r.ctx()));
    r.mailing.emplace(test::mailingOf(r.rig.work, r.ctx().lists));
    r.session().justSorted = false;
    r.rig.env.ui.pressWhenShown("PrintSelectDlog", "OKBtn");
    r.printInstructions();
    std::string reprint = printer.lastOutput();
    ASSERT_NE(reprint, afterSort);

    std::string text = textWithoutHeaders(afterSort);
    EXPECT_EQ(textWithoutHeaders(reprint), text);
    size_t makes = 0;
    for (size_t at = text.find("Make "); at != std::string::npos; at = text.find("Make ", at + 1))
        ++makes;
    EXPECT_EQ(makes, static_cast<size_t>(containers));
    EXPECT_NE(text.find("Total - Part E (Carry to front."), std::string::npos) << text;
    // Each font the report uses is embedded once, however many pages use it.
    std::istringstream fonts(test::runCommand("pdffonts '" + reprint + "'"));
    std::vector<std::string> names;
    for (std::string line; std::getline(fonts, line);)
        if (!line.empty() && line[0] != '-' && line.rfind("name", 0) != 0)
            names.push_back(line.substr(0, line.find(' ')));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_FALSE(names.empty());
    fs::remove_all(folder);
}
