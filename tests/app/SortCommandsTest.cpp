// The sort commands of the main window over the test geography: the minimum-size and
// co-sacked rules, the Sort Wizard's pages, the after-sort print run and the writer, and
// how every command ends (tables at their seed, the program ended by a command-line run).

#include "app/Program.h"
#include "app/WriteBack.h"
#include "core/MailingMinimums.h"
#include "listio/ListPaths.h"
#include "platform/Interruption.h"
#include "tests/support/TestEnvironment.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/resource.h>

using namespace quillan;
using namespace platform;

namespace {

// A loaded program over the test geography, sorting Standard automation letters unless told
// otherwise, with the after-sort printers and the writer recorded.
struct SortRun {
    explicit SortRun(std::vector<std::string> parameters = {})
        : env(test::geographyFolder(), std::move(parameters)), program(env.context()) {
        env.load();
        mailType(1, "3");
        PrintRun& run = program.printRun();
        auto note = [this](const char* report) {
            return [this, report](const SortedMailing& mailing) {
                calls.push_back(report);
                containersSeen = static_cast<int32_t>(mailing.containers().size());
                classSeen = mailing.mailClass();
            };
        };
        run.printers[AfterSortReport::Statement] = note("statement");
        run.printers[AfterSortReport::Instructions] = note("instructions");
        run.printers[AfterSortReport::Qualification] = note("qualification");
        run.printers[AfterSortReport::Tags] = note("tags");
        program.sortCommands().writeSortInformation = [this](const SortInformationJob&) {
            calls.push_back(session().justSorted ? "writer after sort" : "writer");
            return SortInformationResult{.failed = writerFails, .path = "written.txt"};
        };
        program.sortCommands().printSummary = [this](const std::string& line) {
            summaries.push_back(line);
        };
    }

    test::TestEnvironment env;
    Program program;
    std::vector<std::string> calls;
    int32_t containersSeen = -1;
    MailClass classSeen;
    std::vector<std::string> summaries;
    bool writerFails = false;

    AppContext& ctx() { return env.context(); }
    PrintSession& session() { return program.printSession(); }
    ScriptedUi& ui() { return env.ui; }
    // Sets a line of mailtype.dat, in the file too, for a command line run that loads it.
    void mailType(long line, const std::string& value) {
        ctx().lists.mailTypeList[line] = value;
        ctx().saveList(ctx().lists.mailTypeList, "mailtype.dat");
    }

    // A merge list of "count" pieces for each ZIP, all with ZIP+4 unless plain.
    std::string list(const std::vector<std::pair<std::string, int>>& zips, bool plain = false) {
        std::string bytes = "NAME,ZIP\r\n";
        int n = 0;
        for (const auto& [zip, count] : zips)
            for (int i = 0; i < count; ++i)
                bytes += "P" + std::to_string(++n) + "," + zip + (plain ? "" : "-1234") + "\r\n";
        std::string path = env.folder() + "list" + std::to_string(++lists_) + ".txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Sort One List through the open dialog and the field dialog, as a person does it.
    void sort(const std::string& path) {
        ui().chooseFile(path);
        ui().pressWhenShown("VerifyDlog", "OKBtn");
        program.sortOneList();
    }

    bool sorted() const { return std::filesystem::exists(env.folder() + "qlPrint"); }
    // The sort-result file, which the reprints print ("" when there is none).
    std::string sortResult() const {
        std::ifstream in(env.folder() + "qlPrint", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Stands for the result of an earlier sort, which a stopped sort must leave as it is.
    void keepEarlierSort() {
        std::ofstream(env.folder() + "qlPrint", std::ios::binary) << EarlierSort;
    }
    static constexpr const char* EarlierSort = "the earlier sort\r\n";
    int shows(const std::string& entry) const {
        return static_cast<int>(
            std::count(env.ui.formLog().begin(), env.ui.formLog().end(), entry));
    }

    // The picture hidden and the arrow back; the mailing went with the command.
    void expectCommandEnded() {
        EXPECT_FALSE(program.mainWindow().form().control("Image1").visible());
        EXPECT_FALSE(ui().busyCursor());
    }

    void expectEnded() {
        EXPECT_TRUE(ui().quitting());
        ASSERT_FALSE(env.help.calls.empty());
        EXPECT_EQ(env.help.calls.back(), "quit");
        EXPECT_FALSE(ctx().listsLoaded);
    }

private:
    int lists_ = 0;
};

// The minimum rules judged on the counts alone.
struct SampleMailing {
    test::TestEnvironment env{test::geographyFolder()};
    SampleMailing(const std::string& type, int32_t pieces, const std::string& exactWeight = {},
                  int32_t missingZip4 = 0) {
        env.load();
        AppContext& ctx = env.context();
        ctx.lists.mailTypeList[1] = type;
        ctx.lists.mailTypeList[4] = exactWeight.empty() ? "0" : "1";
        ctx.lists.mailTypeList[5] = exactWeight;
        mailing.tables.pieces.resize(static_cast<size_t>(pieces) + 7);
        mailing.counters.rejectedCount = 7;
        mailing.counters.missingZip4Count = missingZip4;
    }
    Mailing mailing;
    bool bigEnough() { return MeetsMinimumSize(mailing, env.context().lists.mailTypeList); }
    bool enoughZip4s() { return HasEnoughZip4s(mailing, env.context().lists.mailTypeList); }
};

} // namespace

TEST(MailingMinimums, SizeRulesCountThePiecesLeftAfterRejects) {
    EXPECT_TRUE(SampleMailing("0", 500).bigEnough());
    EXPECT_FALSE(SampleMailing("0", 199).bigEnough());
    EXPECT_TRUE(SampleMailing("0", 200).bigEnough()) << "200 are enough outside First-Class";
    EXPECT_FALSE(SampleMailing("8", 200).bigEnough());
    EXPECT_FALSE(SampleMailing("8", 499).bigEnough());
    EXPECT_TRUE(SampleMailing("8", 500).bigEnough());
    EXPECT_TRUE(SampleMailing("8", 200, "4").bigEnough()) << "4 oz x 200 reaches 800 oz";
    EXPECT_FALSE(SampleMailing("8", 200, "3.99").bigEnough());
    EXPECT_TRUE(SampleMailing("1", 100, "8").bigEnough());
    for (const char* periodicals : {"5", "6", "7"})
        EXPECT_TRUE(SampleMailing(periodicals, 10).bigEnough()) << periodicals;
}

TEST(MailingMinimums, CoSackedMailingsNeedTwoHundredZip4Pieces) {
    EXPECT_FALSE(SampleMailing("4", 600, {}, 450).enoughZip4s());
    EXPECT_FALSE(SampleMailing("4", 600, "5.33", 450).enoughZip4s()) << "5.33 x 150 < 800";
    EXPECT_TRUE(SampleMailing("4", 600, "5.34", 450).enoughZip4s());
    EXPECT_TRUE(SampleMailing("4", 600, {}, 400).enoughZip4s());
    EXPECT_TRUE(SampleMailing("7", 600, {}, 450).enoughZip4s()) << "only Standard co-sacked";
}

TEST(SortOneList, FiveHundredPiecesSortWithoutAQuestionThenPrintThenWrite) {
    SortRun s;
    std::string windowReads;
    s.program.printRun().printers[AfterSortReport::Instructions] = [&](const SortedMailing&) {
        s.calls.push_back("instructions");
        windowReads = s.program.mainWindow().form().control("TopLabel").caption();
    };
    s.ui().pressWhenShown("PrintSelectDlog", "OKBtn");
    s.sort(s.list({{"75201", 250}, {"75202", 250}, {"1234", 3}}));
    EXPECT_EQ(windowReads, "Printing") << "not what the presort did last";
    EXPECT_TRUE(s.ui().messages().empty());
    EXPECT_TRUE(s.ui().unexpected().empty());
    EXPECT_TRUE(s.sorted());
    EXPECT_EQ(s.calls, (std::vector<std::string>{"statement", "instructions", "qualification",
                                                 "tags", "writer after sort"}));
    EXPECT_TRUE(s.session().justSorted);
    EXPECT_EQ(s.classSeen, MailClass::RAL);
    EXPECT_GT(s.containersSeen, 0) << "the reports are given the sort just made";
    s.expectCommandEnded();
    EXPECT_FALSE(s.ui().quitting()) << "a menu command leaves the program running";
}

TEST(SortOneList, TooSmallMailingAsksAndCancelSortsNothing) {
    SortRun s;
    s.mailType(1, "8");
    s.ui().answerNextMessage(ModalResult::Cancel);
    s.sort(s.list({{"75201", 250}, {"75202", 249}, {"1234", 3}}));
    ASSERT_EQ(s.ui().messages().size(), 1u);
    const auto& box = s.ui().messages()[0];
    EXPECT_EQ(box.kind, MessageKind::Information);
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(box.text, "After removing bad zips (if any), this mailing is too small for "
                        "bulk/presort rates. Do you want to sort it anyway?");
    EXPECT_EQ(s.ui().beeps(), std::vector<BeepKind>{BeepKind::Asterisk});
    EXPECT_FALSE(s.sorted());
    EXPECT_TRUE(s.calls.empty());
    EXPECT_EQ(s.shows("modal PrintSelectDlog"), 0);
    s.expectCommandEnded();
}

TEST(SortOneList, TooSmallMailingSortsWhenTheUserGoesOn) {
    SortRun s;
    s.ui().answerNextMessage(ModalResult::Ok);
    s.ui().pressWhenShown("PrintSelectDlog", "OKBtn");
    s.sort(s.list({{"75201", 160}}));
    EXPECT_EQ(s.ui().messages().size(), 1u);
    EXPECT_TRUE(s.sorted());
    EXPECT_EQ(s.calls.back(), "writer after sort");
}

TEST(SortOneList, CoSackedMailingWithTooFewZip4sStops) {
    SortRun s;
    s.mailType(1, "4");
    s.mailType(3, "1");
    std::string path = s.env.folder() + "cosacked.txt";
    std::string bytes = "NAME,ZIP\r\n";
    for (int i = 0; i < 600; ++i)
        bytes += "P," + std::string(i < 150 ? "75201-1234" : "75201") + "\r\n";
    std::ofstream(path, std::ios::binary) << bytes;
    s.sort(path);
    ASSERT_EQ(s.ui().messages().size(), 1u);
    const auto& box = s.ui().messages()[0];
    EXPECT_EQ(box.kind, MessageKind::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.text, "After removing bad zips (if any), this mailing has too few zip+4s for "
                        "a co-sacked mailing. Change the mailing class to nonautomation "
                        "standard and try again.");
    EXPECT_EQ(s.ui().beeps(), std::vector<BeepKind>{BeepKind::Asterisk});
    EXPECT_FALSE(s.sorted());
    EXPECT_TRUE(s.calls.empty());
    s.expectCommandEnded();
}

TEST(SortOneList, SkipPrintingPrintsNothingAndTheWriterStillRuns) {
    SortRun s;
    for (long line : {6, 8})
        s.ctx().lists.prefsList[line] = "f";
    s.ui().whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Sorting is complete. Ready to print reports.");
        EXPECT_EQ(form.control("CancelBtn").caption(), "Skip Printing");
        form.control("statement").userSetChecked(true);
        form.control("CancelBtn").userClick();
    });
    s.sort(s.list({{"75201", 500}}));
    EXPECT_EQ(s.calls, std::vector<std::string>{"writer after sort"});
    const SettingsList& prefs = s.ctx().lists.prefsList;
    EXPECT_EQ(prefs[6] + prefs[7] + prefs[8] + prefs[9], "ftft") << "the choices are not kept";
}

TEST(SortOneList, PrintoutsOnlyPreferenceSkipsTheWriter) {
    SortRun s;
    s.ctx().lists.prefsList[2] = "2";
    s.ctx().lists.prefsList[8] = "f";
    s.ui().pressWhenShown("PrintSelectDlog", "OKBtn");
    s.sort(s.list({{"75201", 500}}));
    EXPECT_EQ(s.calls, (std::vector<std::string>{"statement", "instructions", "tags"}));
}

TEST(SortOneList, NoListChosenOrNoRecordReadDoesNothing) {
    SortRun s;
    s.ui().chooseFile(std::nullopt);
    s.program.sortOneList();
    s.sort(s.list({}));
    EXPECT_TRUE(s.calls.empty());
    EXPECT_FALSE(s.sorted());
    s.expectCommandEnded();
}

TEST(SortOneList, FailedPresortIsReportedAndTheTablesAreReset) {
    SortRun s;
    s.mailType(1, "9"); // no such mail category: the presort refuses it
    s.sort(s.list({{"75201", 500}}));
    ASSERT_EQ(s.ui().messages().size(), 1u);
    EXPECT_EQ(s.ui().messages()[0].kind, MessageKind::Error);
    EXPECT_NE(s.ui().messages()[0].text.find("mailtype.dat"), std::string::npos);
    EXPECT_TRUE(s.calls.empty());
    s.expectCommandEnded();
}

TEST(SortOneList, NoStopEndsTheProgramAfterEveryOutcomeAndItsExitStatusTellsWhich) {
    SortRun probe;
    std::string big = probe.list({{"75201", 500}});
    std::string small = probe.list({{"75201", 100}});
    std::string refused = probe.list({{"75201", 600}});
    std::string unwritten = probe.list({{"75201", 500}});
    std::string cosacked = probe.list({{"75201", 500}}, true);
    std::string missing = probe.env.folder() + "missing.txt";
    const std::map<std::string, int> statuses = {{big, 0},       {small, 4},    {refused, 1},
                                                 {unwritten, 3}, {cosacked, 2}, {missing, 2}};
    for (const auto& [path, status] : statuses) {
        SortRun s({path, "nostop"});
        if (path == refused)
            s.mailType(1, "9");
        if (path == cosacked)
            s.mailType(1, "4");
        if (path == small)
            s.ui().answerNextMessage(ModalResult::Cancel);
        s.writerFails = path == unwritten;
        ASSERT_TRUE(s.program.RunStartUp());
        SCOPED_TRACE(path);
        s.expectEnded();
        EXPECT_EQ(s.ui().exitStatus(), status);
        EXPECT_EQ(s.summaries.size(), path == big ? 1u : 0u) << "a summary only of a success";
        EXPECT_EQ(s.shows("modal PrintSelectDlog") + s.shows("modal VerifyDlog"), 0);
        EXPECT_TRUE(s.ui().unexpected().empty());
        EXPECT_EQ(s.sorted(), path == big || path == unwritten);
        if (path == refused) {
            ASSERT_EQ(s.ui().messages().size(), 1u);
            EXPECT_NE(s.ui().messages()[0].text.find("mailtype.dat"), std::string::npos);
        }
        if (path == big) {
            EXPECT_EQ(s.calls,
                      (std::vector<std::string>{"statement", "instructions", "qualification",
                                                "tags", "writer after sort"}));
        }
    }
}

// The menu entry itself, through the print dialog to the printer: the report of the list
// just read, its one rejected record listed, and nothing sorted.
TEST(VerifyWithoutSorting, TheMenuEntryPrintsTheVerificationReportOfTheListRead) {
    SortRun s;
    MenuItem& entry = *s.program.mainWindow().form().findMenuItem("VerifyWOSorting");
    ASSERT_TRUE(entry.enabled);
    std::string path = s.list({{"75201", 20}});
    std::ofstream(path, std::ios::binary | std::ios::app) << "P21,7520\r\n";
    s.session().justSorted = true;
    s.ui().chooseFile(path);
    s.ui().pressWhenShown("VerifyDlog", "OKBtn");
    s.ui().whenShown("PrintSelectDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Ready to print verification report.");
        form.control("OKBtn").userClick();
    });
    entry.onClick();
    EXPECT_EQ(s.shows("open Find the mailing list you wish to verify"), 1);
    const std::vector<std::string>& log = s.env.printer.log();
    auto printed = [&](const std::string& text) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& e) {
            return e.rfind("text ", 0) == 0 && e.size() >= text.size() &&
                   e.compare(e.size() - text.size(), text.size(), text) == 0;
        });
    };
    EXPECT_EQ(printed("Verification Report"), 1);
    EXPECT_EQ(printed("Rejected Zip Codes:"), 1);
    EXPECT_EQ(printed("Zip code has too few or too many digits."), 1);
    EXPECT_EQ(printed(" 21"), 1) << "the record number of the short ZIP";
    EXPECT_EQ(printed("Software Settings:"), 0) << "no settings or postage in a verification";
    EXPECT_EQ(s.env.printer.documentCount(), 1);
    EXPECT_FALSE(s.session().justSorted);
    EXPECT_TRUE(s.ui().unexpected().empty());
    s.expectCommandEnded();
    EXPECT_FALSE(s.sorted());

    // No list chosen: nothing is read or printed.
    s.ui().chooseFile(std::nullopt);
    entry.onClick();
    EXPECT_EQ(s.env.printer.documentCount(), 1);
}

namespace {

// Presses the named button of each wizard page in turn; the sort page chooses no list.
void script(SortRun& s, const std::vector<std::pair<std::string, std::string>>& presses) {
    for (const auto& [form, button] : presses)
        s.ui().pressWhenShown(form, button);
    s.ui().chooseFile(std::nullopt);
}

std::vector<std::string> pagesShown(SortRun& s) {
    std::vector<std::string> pages;
    for (const auto& entry : s.ui().formLog())
        if (entry.rfind("modal ", 0) == 0 || entry.rfind("open ", 0) == 0)
            pages.push_back(entry.substr(0, entry.find(' ', 6)));
    return pages;
}

} // namespace

TEST(SortWizard, BackAndNextPassOverThePeriodicalsPageOutsideTypesFiveToSeven) {
    SortRun s;
    s.mailType(1, "0");
    script(s, {{"MailTypeDlog", "nextBtn"},
               {"MlrInfoDlog", "nextBtn"},
               {"PrefDlog", "backBtn"},
               {"MlrInfoDlog", "nextBtn"},
               {"PrefDlog", "nextBtn"}});
    s.program.runSortWizard();
    EXPECT_EQ(pagesShown(s),
              (std::vector<std::string>{"modal MailTypeDlog", "modal MlrInfoDlog", "modal PrefDlog",
                                        "modal MlrInfoDlog", "modal PrefDlog", "open Find"}));
    EXPECT_TRUE(s.ui().unexpected().empty());
    EXPECT_FALSE(s.ui().quitting()) << "from the menu the program goes on";
    s.expectCommandEnded();
}

TEST(SortWizard, PeriodicalsTypesShowTheirPageAndCancelEndsTheWizard) {
    SortRun s;
    s.mailType(1, "6");
    s.mailType(4, "1");
    s.mailType(5, "3");
    script(s, {{"MailTypeDlog", "nextBtn"},
               {"MlrInfoDlog", "nextBtn"},
               {"PeriodicalDlog", "nextBtn"},
               {"PrefDlog", "backBtn"},
               {"PeriodicalDlog", "backBtn"},
               {"MlrInfoDlog", "CancelBtn"}});
    s.program.runSortWizard();
    EXPECT_EQ(pagesShown(s), (std::vector<std::string>{
                                 "modal MailTypeDlog", "modal MlrInfoDlog", "modal PeriodicalDlog",
                                 "modal PrefDlog", "modal PeriodicalDlog", "modal MlrInfoDlog"}));
    EXPECT_EQ(s.ui().pendingActions(), 0u);
    EXPECT_TRUE(s.ui().unexpected().empty());
}

TEST(SortWizard, DuzizSkipsThePreferencesAndEndsTheProgram) {
    SortRun s({"missing.txt", "DUZIZ"});
    s.mailType(1, "0");
    s.ui().pressWhenShown("MailTypeDlog", "nextBtn");
    s.ui().pressWhenShown("MlrInfoDlog", "nextBtn");
    ASSERT_TRUE(s.program.RunStartUp());
    EXPECT_EQ(pagesShown(s), (std::vector<std::string>{"modal MailTypeDlog", "modal MlrInfoDlog"}));
    ASSERT_FALSE(s.ui().messages().empty()) << "the sort tried the list of the command line";
    EXPECT_NE(s.ui().messages()[0].text.find("missing.txt"), std::string::npos);
    s.expectEnded();
    EXPECT_EQ(s.ui().exitStatus(), 2);
}

TEST(SortWizard, WithAListOnTheCommandLineCancelStillEndsTheProgram) {
    SortRun s({"list.txt"});
    s.ui().pressWhenShown("MailTypeDlog", "CancelBtn");
    s.program.runSortWizard();
    s.expectEnded();
    EXPECT_EQ(s.ui().exitStatus(), 4);
}

namespace {

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line.substr(0, line.size() - (!line.empty() && line.back() == '\r')));
    return out;
}

// Pieces of two ZIPs taking turns, with a bad ZIP after every hundred pieces; a comma list
// with the heading "NAME,ZIP", else without one.
std::string interleavedList(SortRun& s, bool heading = true) {
    std::string bytes = heading ? "NAME,ZIP\r\n" : "";
    for (int i = 1; i <= 500; ++i) {
        bytes += "P" + std::to_string(i) + (i % 2 ? ",75202-1234" : ",75201-1234") + "\r\n";
        if (i % 100 == 0)
            bytes += "BAD" + std::to_string(i / 100) + ",7520\r\n";
    }
    std::string path = s.env.folder() + "mailing.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace

TEST(SortOneList, UnattendedSortWritesTheListInPresortOrderWithoutClosingBoxOrOffer) {
    SortRun probe;
    std::string path = interleavedList(probe);
    SortRun s({path, "NOSTOP"});
    s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
        return WriteBackSortInformation(s.ctx(), job);
    };
    ASSERT_TRUE(s.program.RunStartUp());
    EXPECT_EQ(s.ui().exitStatus(), 0);
    EXPECT_EQ(s.summaries,
              std::vector<std::string>{"Quillan sorted 500 pieces of " + path +
                                       " (5 rejected); sort information in " + path +
                                       "; sort result in " + s.env.folder() + "qlPrint"});
    EXPECT_TRUE(s.ui().messages().empty()) << "no closing box, no barcoding offer";
    EXPECT_TRUE(s.env.shell.calls.empty());
    s.expectEnded();
    auto written = lines(path);
    ASSERT_EQ(written.size(), 506u);
    EXPECT_EQ(written[0], "NAME,ZIP,tray,package,endorsement");
    EXPECT_EQ(written[1], "P2,75201-1234,\"00001\",\"00001\",\"\"");
    EXPECT_EQ(written[250], "P500,75201-1234,\"00001\",\"00001\",\"\"");
    EXPECT_EQ(written[251], "P1,75202-1234,\"00002\",\"00002\",\"\"");
    EXPECT_EQ(written[500], "P499,75202-1234,\"00002\",\"00002\",\"\"");
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(written[500 + i], "BAD" + std::to_string(i) + ",7520,\"00000\",\"00000\",\"\"");
    EXPECT_TRUE(std::filesystem::exists(s.env.folder() + "qlPrint"));
}

// Nothing names the fields a sort adds to a list without a heading: the summary says which.
TEST(SortOneList, UnattendedSummarySaysWhichFieldsOfAListWithoutAHeadingTookTheSort) {
    SortRun probe;
    std::string path = interleavedList(probe, false);
    const std::string gained = ",\"00001\",\"00001\",\"\"";
    const std::pair<const char*, std::string> sorts[] = {
        {"fields 3 to 5", "P2,75201-1234" + gained},
        {"fields 6 to 8", "P2,75201-1234" + gained + gained}};
    for (const auto& [fields, firstLine] : sorts) {
        SortRun s({path, "NOSTOP"});
        s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
            return WriteBackSortInformation(s.ctx(), job);
        };
        ASSERT_TRUE(s.program.RunStartUp());
        EXPECT_EQ(s.ui().exitStatus(), 0);
        EXPECT_EQ(s.summaries, std::vector<std::string>{
                                   "Quillan sorted 500 pieces of " + path +
                                   " (5 rejected); sort information in " + path + " in " + fields +
                                   "; sort result in " + s.env.folder() + "qlPrint"});
        EXPECT_EQ(lines(path)[0], firstLine);
    }
}

TEST(SortOneList, FromTheMenuTheWriterClosesWithTheBarcodingOffer) {
    SortRun s;
    s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
        return WriteBackSortInformation(s.ctx(), job);
    };
    s.ui().pressWhenShown("PrintSelectDlog", "OKBtn");
    s.ui().answerNextMessage(ModalResult::No);
    s.sort(interleavedList(s));
    ASSERT_EQ(s.ui().messages().size(), 1u);
    EXPECT_EQ(s.ui().messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_NE(s.ui().messages()[0].text.find("Would you like to add barcodes?"), std::string::npos);
    s.expectCommandEnded();
}

TEST(SortOneList, SortResultThatCannotBeSavedAbandonsTheSortAndLeavesTheList) {
    SortRun probe;
    std::string path = interleavedList(probe);
    const auto original = lines(path);
    SortRun s({path, "NOSTOP"});
    s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
        return WriteBackSortInformation(s.ctx(), job);
    };
    // A full disk: nothing larger than a few bytes can be written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit full = saved;
    full.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &full);
    const bool started = s.program.RunStartUp();
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_TRUE(started);
    EXPECT_EQ(s.ui().exitStatus(), 3);
    ASSERT_EQ(s.ui().messages().size(), 1u);
    const std::string& text = s.ui().messages()[0].text;
    EXPECT_EQ(text.rfind("Quillan could not save the sort result. ", 0), 0u) << text;
    EXPECT_TRUE(text.ends_with(" The sort was abandoned, and your list was left unchanged."))
        << text;
    EXPECT_EQ(lines(path), original);
    EXPECT_FALSE(s.sorted());
    EXPECT_TRUE(s.summaries.empty());
}

TEST(SortOneList, StopAskedForFromOutsideEndsTheSortBeforeAnythingIsWritten) {
    SortRun probe;
    std::string path = interleavedList(probe);
    const auto original = lines(path);
    SortRun s({path, "NOSTOP"});
    s.keepEarlierSort();
    platform::setInterruptionRequested(true);
    const bool started = s.program.RunStartUp();
    platform::setInterruptionRequested(false);
    ASSERT_TRUE(started);
    EXPECT_EQ(s.ui().exitStatus(), 4);
    EXPECT_EQ(s.ui().messages().back().text,
              "The sort was cancelled. Your list was left unchanged.");
    EXPECT_TRUE(s.calls.empty());
    EXPECT_EQ(s.sortResult(), SortRun::EarlierSort);
    EXPECT_EQ(lines(path), original);
}

namespace {

// A merge list with separate ZIP and ZIP4 fields where six pieces in ten carry a +4, the
// first four not; `rotation` moves records from the front to the back.
std::string zip4List(SortRun& s, int rotation) {
    std::vector<std::string> records;
    const char* zips[] = {"75201", "75202", "01234"};
    for (int i = 0; i < 600; ++i)
        records.push_back("P" + std::to_string(i) + ",1 ELM ST," + zips[i % 3] + "," +
                          (i % 10 < 4 ? "" : std::to_string(1000 + i)));
    std::rotate(records.begin(), records.begin() + rotation, records.end());
    std::string bytes = "NAME,ADDRESS,ZIP,ZIP4\r\n";
    for (const auto& r : records)
        bytes += r + "\r\n";
    std::string path = s.env.folder() + "zip4-" + std::to_string(rotation) + ".txt";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// The records of a sorted zip4List with their tray, endorsement and the records that share
// their package, whatever the package is numbered: the order of the list may number the
// packages of a ZIP code differently, never fill them differently.
std::vector<std::string> placements(const std::vector<std::string>& written) {
    std::map<std::string, std::string> firstOfPackage;
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 1; i < written.size(); ++i) {
        std::vector<std::string> fields;
        std::stringstream in(written[i]);
        for (std::string field; std::getline(in, field, ',');)
            fields.push_back(field);
        auto [at, fresh] = firstOfPackage.emplace(fields[5], fields[0]);
        if (!fresh)
            at->second = std::min(at->second, fields[0]);
        rows.push_back(fields);
    }
    std::vector<std::string> out;
    for (const auto& f : rows)
        out.push_back(f[0] + " " + f[3] + " tray " + f[4] + " with " + firstOfPackage[f[5]] + " " +
                      f[6]);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(SortOneList, NamedZipAndZip4FieldsHoldWhateverTheFirstRecordsCarry) {
    for (const char* mailType : {"3", "4"}) { // automation letters, co-sacked Standard
        std::vector<std::vector<std::string>> outputs;
        for (int rotation : {0, 2}) { // records 1 to 3 without a +4; with one
            SortRun probe;
            std::string path = zip4List(probe, rotation);
            SortRun s({path, "NOSTOP"});
            s.mailType(1, mailType);
            // Automation rejects a piece without its +4.
            s.ctx().lists.prefsList[5] = "0";
            s.ctx().saveList(s.ctx().lists.prefsList, "prefs.dat");
            s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
                return WriteBackSortInformation(s.ctx(), job);
            };
            ASSERT_TRUE(s.program.RunStartUp());
            EXPECT_EQ(s.ui().exitStatus(), 0) << mailType << " " << rotation;
            ASSERT_EQ(s.summaries.size(), 1u);
            outputs.push_back(placements(lines(path)));
        }
        EXPECT_EQ(outputs[0], outputs[1]) << "mail type " << mailType;
        // The pieces with a +4 were sorted as such, apart from those without.
        auto placed = [&](const std::string& record) {
            for (const auto& p : outputs[0])
                if (p.rfind(record + " ", 0) == 0)
                    return p.substr(p.find(" tray "), 13);
            return std::string();
        };
        EXPECT_NE(placed("P4"), " tray \"00000\"") << mailType;
        if (std::string(mailType) == "3") {
            EXPECT_EQ(placed("P0"), " tray \"00000\"") << "automation needs the +4";
        }
    }
}

namespace {

// Every menu entry the program bound, with whether it is on.
std::map<std::string, bool> boundEntries(Program& program) {
    std::map<std::string, bool> entries;
    std::function<void(std::vector<MenuItem>&)> walk = [&](std::vector<MenuItem>& items) {
        for (MenuItem& item : items) {
            if (item.onClick)
                entries[item.name] = item.enabled;
            walk(item.children);
        }
    };
    walk(program.mainWindow().form().menus());
    return entries;
}

// How a person asks to leave while a sort works: Exit, or the window's close box.
enum class Leave { Exit, Close };

void askToLeave(Program& program, Leave how) {
    Form& window = program.mainWindow().form();
    if (how == Leave::Exit)
        window.findMenuItem("Exit")->onClick();
    else
        EXPECT_FALSE(window.userClose()) << "the window stays while the sort works";
}

// Asks to leave once the saving picture shows, that is while the list is being written: the
// pause after each picture lets a person's click in, as the window's message loop does.
class LeaveWhileSaving {
public:
    LeaveWhileSaving(SortRun& s, Leave how, const SortedMailing* const& writing)
        : s_(s), poll_(s.ui(), 50, [this, how, &writing] {
              if (asked_ ||
                  s_.program.mainWindow().form().control("TopLabel").caption() != "Saving")
                  return;
              asked_ = true;
              tablesAtAsking_ = writing ? writing->pieces().size() : 0;
              askToLeave(s_.program, how);
          }) {
        poll_.setEnabled(true);
    }
    bool asked() const { return asked_; }
    size_t tablesAtAsking() const { return tablesAtAsking_; }

private:
    SortRun& s_;
    Timer poll_;
    bool asked_ = false;
    size_t tablesAtAsking_ = 0;
};

} // namespace

// While a sort works, nothing that reads or changes the settings, the tables or a list can
// start: its menu entries are off (a second sort asked for meanwhile does not start), and
// they come back when the sort has ended.
TEST(WhileASortWorks, OnlyExitAndTheHelpStayOn) {
    SortRun s;
    const std::map<std::string, bool> before = boundEntries(s.program);
    ASSERT_GT(before.size(), 30u);
    std::map<std::string, bool> during;
    s.ui().whenShown("PrintSelectDlog", [&](Form& form) {
        during = boundEntries(s.program);
        s.program.sortOneList();
        s.program.verifyWithoutSorting();
        form.control("OKBtn").userClick();
    });
    s.sort(s.list({{"75201", 300}, {"75202", 300}}));
    ASSERT_EQ(during.size(), before.size());
    for (const auto& [name, on] : during)
        EXPECT_EQ(on, name == "Exit" || name == "Contents1" || name == "TopicSearch1" ||
                          name == "About1")
            << name;
    EXPECT_EQ(s.shows("open Find the mailing list you wish to sort"), 1);
    EXPECT_EQ(s.shows("open Find the mailing list you wish to verify"), 0);
    EXPECT_EQ(boundEntries(s.program), before);
    EXPECT_FALSE(s.ui().quitting());
}

// Exit or the window's close while the list is being written asks once; Yes stops the sort
// before the list changes and ends the program after it, with the tables freed only then
// (freeing them under the writer corrupted the list); No lets the sort write the list.
TEST(WhileASortWorks, LeavingAsksAndYesLeavesTheListAsItWas) {
    SortRun probe;
    const std::string original = interleavedList(probe);
    const std::vector<std::string> before = lines(original);
    for (Leave how : {Leave::Exit, Leave::Close}) {
        for (ModalResult answer : {ModalResult::Yes, ModalResult::No}) {
            SCOPED_TRACE(std::string(how == Leave::Exit ? "Exit " : "close ") + toString(answer));
            SortRun s;
            const SortedMailing* writing = nullptr;
            s.program.sortCommands().writeSortInformation =
                [&s, &writing](const SortInformationJob& job) {
                    writing = &job.mailing;
                    return WriteBackSortInformation(s.ctx(), job);
                };
            const std::string path = interleavedList(s);
            s.ui().pressWhenShown("PrintSelectDlog", "CancelBtn");
            s.ui().answerNextMessage(answer);
            LeaveWhileSaving leave(s, how, writing);
            s.keepEarlierSort();
            s.sort(path);
            ASSERT_TRUE(leave.asked());
            EXPECT_GT(leave.tablesAtAsking(), 500u) << "the sort being written held the list";
            ASSERT_FALSE(s.ui().messages().empty());
            EXPECT_EQ(s.ui().messages()[0].text,
                      "Quillan is still sorting mailing.txt. Stop the sort? The list will be "
                      "left as it was.");
            EXPECT_EQ(s.ui().messages()[0].buttons, MessageButtons::YesNo);
            if (answer == ModalResult::Yes) {
                EXPECT_EQ(lines(path), before);
                EXPECT_EQ(s.sortResult(), SortRun::EarlierSort) << "the reprints print it";
                EXPECT_EQ(s.ui().messages().back().text,
                          "The sort was cancelled. Your list was left unchanged.");
                EXPECT_TRUE(s.ui().quitting());
                EXPECT_EQ(s.ui().exitStatus(), 4);
                EXPECT_FALSE(s.ctx().listsLoaded);
            } else {
                EXPECT_EQ(lines(path).size(), before.size());
                EXPECT_NE(lines(path), before) << "the sort information was written";
                EXPECT_NE(s.sortResult(), SortRun::EarlierSort);
                EXPECT_FALSE(s.ui().quitting());
                s.expectCommandEnded();
            }
            platform::setInterruptionRequested(false);
        }
    }
}

namespace {

// Exit or the close box while a box or dialog of the sort waits for its answer and holds the
// main window: the window hears of it, and the program takes it.
void askToLeaveUnderABox(Program& program, Leave how) {
    Form& window = program.mainWindow().form();
    EXPECT_TRUE(window.userRequestWhileHeld(how == Leave::Exit ? "Exit" : ""));
}

const char* const StopQuestion =
    "Quillan is still sorting mailing.txt. Stop the sort? The list will be left as it was.";
const char* const SortCancelled = "The sort was cancelled. Your list was left unchanged.";

std::vector<std::string> texts(const std::vector<ScriptedUi::MessageRecord>& messages) {
    std::vector<std::string> all;
    for (const auto& m : messages)
        all.push_back(m.text);
    return all;
}

} // namespace

// Exit or the close box pressed while the too-small question waits is not lost: once it is
// answered, the sort asks whether to stop, as it would have then, and Yes ends the program
// with the list as it was.
TEST(WhileASortWorks, LeavingUnderAMessageBoxIsTakenUpOnceItIsAnswered) {
    for (Leave how : {Leave::Exit, Leave::Close}) {
        SCOPED_TRACE(how == Leave::Exit ? "Exit" : "close");
        SortRun s;
        s.mailType(1, "8"); // First-Class: 500 pieces at least
        // The last sort that went ahead, whose reports the reprints print.
        s.ui().pressWhenShown("PrintSelectDlog", "CancelBtn");
        s.sort(s.list({{"75201", 300}, {"75202", 300}}));
        const std::string earlier = s.sortResult();
        ASSERT_FALSE(earlier.empty());
        s.ui().clearRecords();
        s.calls.clear();
        const std::string path = s.list({{"75201", 250}, {"75202", 249}});
        const std::vector<std::string> before = lines(path);
        s.ui().answerNextMessage(ModalResult::Ok, [&] { askToLeaveUnderABox(s.program, how); });
        s.ui().answerNextMessage(ModalResult::Yes);
        s.sort(path);
        EXPECT_EQ(s.sortResult(), earlier) << "the stopped sort replaced the last one";
        const std::vector<std::string> told = texts(s.ui().messages());
        ASSERT_EQ(told.size(), 3u);
        EXPECT_EQ(told[1], "Quillan is still sorting " + fileNameOf(path) +
                               ". Stop the sort? The list will be left as it was.");
        EXPECT_EQ(told[2], SortCancelled);
        EXPECT_TRUE(s.calls.empty()) << "nothing printed, nothing written";
        EXPECT_EQ(lines(path), before);
        s.expectEnded();
        EXPECT_EQ(s.ui().exitStatus(), 4);
        platform::setInterruptionRequested(false);
    }
}

// Under the print selection: once it is answered (printing skipped), the sort asks while it
// saves; Yes leaves the list as it was and ends the program, No lets the list be written and
// the program go on. Pressed again under the question itself, Exit asks no second time.
TEST(WhileASortWorks, LeavingUnderThePrintSelectionIsTakenUpOnceItIsAnswered) {
    for (Leave how : {Leave::Exit, Leave::Close}) {
        for (ModalResult answer : {ModalResult::Yes, ModalResult::No}) {
            SCOPED_TRACE(std::string(how == Leave::Exit ? "Exit " : "close ") + toString(answer));
            SortRun s;
            s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
                return WriteBackSortInformation(s.ctx(), job);
            };
            const std::string path = interleavedList(s);
            const std::vector<std::string> before = lines(path);
            s.ui().whenShown("PrintSelectDlog", [&](Form& form) {
                askToLeaveUnderABox(s.program, how);
                form.control("CancelBtn").userClick();
            });
            s.ui().answerNextMessage(answer, [&] { askToLeaveUnderABox(s.program, Leave::Exit); });
            s.sort(path);
            s.ui().advance(1000);
            const std::vector<std::string> told = texts(s.ui().messages());
            ASSERT_EQ(told.size(), 2u);
            EXPECT_EQ(told[0], StopQuestion);
            if (answer == ModalResult::Yes) {
                EXPECT_EQ(told[1], SortCancelled);
                EXPECT_EQ(lines(path), before);
                s.expectEnded();
                EXPECT_EQ(s.ui().exitStatus(), 4);
            } else {
                EXPECT_EQ(lines(path).size(), before.size());
                EXPECT_NE(lines(path), before) << "the sort information was written";
                EXPECT_FALSE(s.ui().quitting());
            }
            platform::setInterruptionRequested(false);
        }
    }
}

// Once the list is written there is nothing left to stop: Exit under the closing message ends
// the program when it is answered, without asking, the list as written. Outside a command a
// box in front still keeps Exit from the window, and during one no other menu key gets past.
TEST(WhileASortWorks, LeavingUnderTheClosingMessageEndsTheProgramAfterIt) {
    SortRun s;
    Form& window = s.program.mainWindow().form();
    EXPECT_FALSE(window.userRequestWhileHeld("Exit")) << "no command works";
    s.program.sortCommands().writeSortInformation = [&s](const SortInformationJob& job) {
        return WriteBackSortInformation(s.ctx(), job);
    };
    const std::string path = interleavedList(s);
    const std::vector<std::string> before = lines(path);
    s.ui().pressWhenShown("PrintSelectDlog", "CancelBtn");
    s.ui().answerNextMessage(ModalResult::No, [&] {
        EXPECT_FALSE(window.userRequestWhileHeld("SortWizard1"));
        askToLeaveUnderABox(s.program, Leave::Exit);
    });
    s.sort(path);
    s.ui().run();
    ASSERT_EQ(s.ui().messages().size(), 1u);
    EXPECT_EQ(s.ui().messages()[0].kind, MessageKind::Information) << "the closing message";
    EXPECT_EQ(lines(path).size(), before.size());
    EXPECT_NE(lines(path), before) << "the sort information was written";
    s.expectEnded();
    EXPECT_EQ(s.ui().exitStatus(), 0);
}

// Exit under a page of the Sort Wizard belongs to that page: once Next answers it, the
// question comes before the next page does, and No is the end of it; that page's Cancel then
// ends the wizard, not the program.
TEST(WhileASortWorks, LeavingUnderAPageIsAskedBeforeTheNextPageComes) {
    SortRun s;
    s.mailType(1, "0");
    size_t askedBeforeTheNextPage = 0;
    s.ui().whenShown("MailTypeDlog", [&](Form& form) {
        askToLeaveUnderABox(s.program, Leave::Exit);
        form.control("nextBtn").userClick();
    });
    s.ui().whenShown("MlrInfoDlog", [&](Form& form) {
        askedBeforeTheNextPage = s.ui().messages().size();
        form.control("CancelBtn").userClick();
    });
    s.ui().answerNextMessage(ModalResult::No);
    s.program.runSortWizard();
    s.ui().advance(1000);
    EXPECT_EQ(texts(s.ui().messages()),
              std::vector<std::string>{"Quillan is still sorting your list. Stop the sort? The "
                                       "list will be left as it was."});
    EXPECT_EQ(askedBeforeTheNextPage, 1u);
    EXPECT_FALSE(s.ui().quitting());
    s.expectCommandEnded();
}

// Asked while the printouts are chosen, Yes prints nothing further and writes nothing; a
// second Exit while the sort stops asks no second time.
TEST(WhileASortWorks, StopAskedBeforePrintingPrintsAndWritesNothing) {
    SortRun s;
    const std::string path = s.list({{"75201", 300}, {"75202", 300}});
    const std::vector<std::string> before = lines(path);
    s.ui().answerNextMessage(ModalResult::Yes);
    s.ui().whenShown("PrintSelectDlog", [&](Form& form) {
        askToLeave(s.program, Leave::Exit);
        askToLeave(s.program, Leave::Exit);
        form.control("OKBtn").userClick();
    });
    s.keepEarlierSort();
    s.sort(path);
    EXPECT_TRUE(s.calls.empty()) << "no printout, no writer";
    EXPECT_EQ(s.sortResult(), SortRun::EarlierSort);
    EXPECT_EQ(lines(path), before);
    ASSERT_EQ(s.ui().messages().size(), 2u);
    EXPECT_EQ(s.ui().messages()[1].text, "The sort was cancelled. Your list was left unchanged.");
    EXPECT_EQ(s.ui().exitStatus(), 4);
    platform::setInterruptionRequested(false);
}
