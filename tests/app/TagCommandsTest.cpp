// The tags and the PAVE file from the program's commands: after a sort, from File > Print
// Tray/Sack Tags, unattended, and the PAVE test file whatever was printed.

#include "app/Program.h"
#include "core/SortResults.h"
#include "platform/fs/AtomicFile.h"
#include "printouts/TagPrintout.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

std::string padded(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

// A program over the test geography sorting Standard nonmachinable letters (packages in
// trays), with a PAVE list of 130 pieces to 75201, 90 to 75202 and two records with ZIP+4,
// which nonmachinable letters refuse.
struct TagCommands {
    explicit TagCommands(std::vector<std::string> parameters = {})
        : env(test::geographyFolder(), std::move(parameters)), program(env.context()) {
        env.load();
        env.copyStatementForms(); // an unattended run prints the statement too
        ctx().lists.mailTypeList[1] = "1";
        ctx().saveList(ctx().lists.mailTypeList, "mailtype.dat");
        list = env.folder() + "JOB.SET";
        std::ofstream out(list, std::ios::binary);
        out << padded("PAVE HEADER", 67) << "\r\n";
        for (int n = 1; n <= 222; ++n)
            out << record(n, n <= 130 ? "75201" : "75202", n == 7 || n == 200 ? "1234" : "")
                << "\r\n";
    }

    static std::string record(int n, const std::string& zip, const std::string& zip4) {
        return padded(padded("ADDRESSEE " + std::to_string(n), 67) + padded("DALLAS", 28) + "TX" +
                          zip + zip4,
                      128);
    }

    test::TestEnvironment env;
    Program program;
    std::string list;

    AppContext& ctx() { return env.context(); }
    PrintSession& session() { return program.printSession(); }
    std::string tst() const { return env.folder() + "JOB.tst"; }

    // The person ticks only the tags, or skips printing.
    void chooseTagsOnly(const std::string& toPage) {
        env.ui.whenShown("PrintSelectDlog", [toPage](Form& f) {
            for (const char* box : {"statement", "SortReport", "QualReport"})
                f.control(box).userSetChecked(false);
            f.control("TagReport").userSetChecked(true);
            f.control("ToPage").userSetText(toPage);
            f.control("OKBtn").userClick();
        });
    }
    void sort() {
        env.ui.chooseFile(list);
        program.sortOneList();
    }

    std::vector<std::string> tstLines() const {
        std::vector<std::string> lines;
        std::ifstream in(tst(), std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    long printed(const std::string& entry) const {
        const auto& log = env.printer.log();
        return std::count_if(log.begin(), log.end(), [&](const std::string& e) {
            return e.find(entry) != std::string::npos;
        });
    }
};

void expectOneRecordPerPiece(const TagCommands& t) {
    std::vector<std::string> lines = t.tstLines();
    ASSERT_EQ(lines.size(), 1u + 220u + 2u);
    for (size_t n = 1; n <= lines.size(); ++n) {
        const std::string& line = lines[n - 1];
        ASSERT_EQ(line.size(), 358u) << "line " << n;
        EXPECT_EQ(line.substr(351),
                  std::string(7 - std::to_string(n).size(), '0') + std::to_string(n));
    }
    EXPECT_EQ(lines[1].substr(191 + 126, 2), "AH") << "the PAVE part's class code";
    EXPECT_EQ(lines[221].substr(317, 2), "XX");
    EXPECT_EQ(lines[222].substr(317, 2), "XX");
    EXPECT_EQ(lines[221].substr(0, 12), "ADDRESSEE 7 ") << "the records left out, in list order";
}

} // namespace

TEST(PaveFile, EveryPieceHasItsRecordWhenPrintingIsSkipped) {
    TagCommands t;
    std::optional<std::string> before = readFileBytes(t.list);
    t.env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
    t.sort();
    expectOneRecordPerPiece(t);
    EXPECT_EQ(readFileBytes(t.list), before) << "the .SET list is left as it was";
    EXPECT_TRUE(t.env.printer.log().empty());
}

TEST(PaveFile, EveryPieceHasItsRecordWhenTheRangeEndsEarly) {
    TagCommands t;
    t.chooseTagsOnly("1");
    t.sort();
    expectOneRecordPerPiece(t);
    EXPECT_EQ(t.printed("title Quillan Tray Tags"), 1);
    EXPECT_GT(t.printed("Tray #1 "), 0);
}

TEST(TagReprint, WithoutASortItSaysSoAndPrintsNothing) {
    TagCommands t;
    MenuItem* entry = t.program.mainWindow().form().findMenuItem("PntLabels");
    ASSERT_TRUE(entry && entry->enabled);
    entry->onClick();
    ASSERT_EQ(t.env.ui.messages().size(), 1u);
    EXPECT_EQ(t.env.ui.messages()[0].text, NoSortResultsMessage);
    EXPECT_TRUE(t.env.printer.log().empty());
}

TEST(TagReprint, ReloadsTheTraysOfTheLastSortAndAsksForTheRange) {
    TagCommands t;
    t.env.ui.pressWhenShown("PrintSelectDlog", "CancelBtn");
    t.sort();
    ASSERT_TRUE(std::filesystem::exists(t.env.folder() + "qlPrint"));
    t.env.ui.clearRecords();
    bool asked = false;
    t.env.ui.whenShown("PrintSelectDlog", [&](Form& f) {
        asked = f.caption() == "Ready to print tags. Be sure tag stock is in printer.";
        f.control("OKBtn").userClick();
    });
    t.program.mainWindow().form().findMenuItem("PntLabels")->onClick();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(t.env.ui.messages().empty()) << "no tag stock question outside the sort";
    EXPECT_EQ(t.printed("title Quillan Tray Tags"), 1);
    EXPECT_GT(t.printed("Tray #1 "), 0);
    EXPECT_FALSE(t.session().justSorted);
}

TEST(TagsAfterSort, UnattendedTheTagStockQuestionIsNotAsked) {
    TagCommands attended;
    attended.chooseTagsOnly("9999");
    attended.sort();
    const auto& asked = attended.env.ui.messages();
    EXPECT_NE(std::find_if(asked.begin(), asked.end(),
                           [](const auto& m) { return m.text == TagStockQuestion; }),
              asked.end());

    TagCommands unattended({"JOB.SET", "NOSTOP"});
    unattended.ctx().parameters[0] = unattended.list;
    ASSERT_TRUE(unattended.program.RunStartUp());
    EXPECT_TRUE(unattended.env.ui.messages().empty());
    EXPECT_EQ(unattended.printed("title Quillan Tray Tags"), 1);
    EXPECT_TRUE(unattended.env.ui.quitting());
}
