#include "app/DataFiles.h"
#include "app/Program.h"
#include "app/RunGuarded.h"
#include "app/RunMode.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>

using namespace quillan;
using namespace platform;

namespace {

std::string crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

struct Started {
    explicit Started(std::vector<std::string> parameters = {}, bool startUp = true)
        : env({}, std::move(parameters)), program(env.context()) {
        if (startUp)
            started = program.RunStartUp();
    }
    test::TestEnvironment env;
    Program program;
    bool started = false;

    // The wizard opens on the mail categories page (cancelled here, as nobody answers it).
    int wizardRuns() const { return shows("modal MailTypeDlog"); }
    // Sort One List, given a list that does not exist, reads nothing and says so.
    int sortRuns() const {
        int n = 0;
        for (const auto& m : env.ui.messages())
            n += m.text.rfind("Quillan could not read", 0) == 0;
        return n;
    }
    int shows(const std::string& entry) const {
        return static_cast<int>(
            std::count(env.ui.formLog().begin(), env.ui.formLog().end(), entry));
    }
};

} // namespace

TEST(StartUp, LoadsEveryListAndShowsTheSplash) {
    Started s;
    AppContext& ctx = s.env.context();
    ASSERT_TRUE(s.started);
    EXPECT_FALSE(ctx.flags.dataMissing);
    EXPECT_EQ(ctx.programVersion, "6.2.4");
    EXPECT_EQ(ctx.ratesDate, "4/1/03");
    EXPECT_EQ(ctx.lists.threeDigitChart.count(), 1000);
    EXPECT_EQ(ctx.lists.ratesList.count(), 169);
    EXPECT_EQ(ctx.lists.prefsList.count(), 11);
    EXPECT_TRUE(s.program.welcome().form().visible());
    EXPECT_EQ(s.program.welcome().form().control("Version").caption(), "6.2.4 - Updated 4/1/03");
    EXPECT_FALSE(s.program.welcome().form().control("okBtn").visible());
    EXPECT_TRUE(s.env.ui.messages().empty());
}

TEST(StartUp, MissingThreeDigitChartEndsTheProgramWhenTheSplashCloses) {
    for (bool byTimer : {true, false}) {
        Started s({"x.txt", "DUZIZ"}, false);
        s.env.removeTable("tdchrt.dat");
        ASSERT_TRUE(s.program.RunStartUp());
        AppContext& ctx = s.env.context();
        EXPECT_TRUE(ctx.flags.dataMissing);
        EXPECT_FALSE(ctx.listsLoaded);
        ASSERT_EQ(s.env.ui.messages().size(), 1u);
        const auto& box = s.env.ui.messages()[0];
        EXPECT_EQ(box.kind, MessageKind::Error);
        EXPECT_EQ(box.buttons, MessageButtons::Cancel);
        EXPECT_EQ(box.text, "The directories probably were not created properly when you "
                            "unzipped the quillan.zip file. Quillan will close. Please read the "
                            "QLREADME.txt file.");
        EXPECT_EQ(s.env.ui.beeps(), std::vector<BeepKind>{BeepKind::Hand});
        if (byTimer) {
            EXPECT_NE(s.env.ui.run(), 0);
            EXPECT_EQ(s.env.ui.now(), 5000);
        } else {
            s.program.welcome().form().userClick();
            EXPECT_TRUE(s.env.ui.quitting());
        }
        EXPECT_EQ(s.wizardRuns() + s.sortRuns(), 0) << "no command runs without the data";
        EXPECT_FALSE(std::filesystem::exists(s.env.tablesFolder() + "tdchrt.dat"));
    }
}

TEST(StartUp, AnotherMissingFileIsNamedAndEndsTheProgram) {
    Started s({}, false);
    s.env.removeTable("rates.dat");
    EXPECT_FALSE(s.program.RunStartUp());
    ASSERT_EQ(s.env.ui.messages().size(), 1u);
    EXPECT_NE(s.env.ui.messages()[0].text.find("rates.dat"), std::string::npos);
    EXPECT_TRUE(s.env.ui.quitting());
    EXPECT_NE(s.env.ui.exitStatus(), 0);
    EXPECT_FALSE(std::filesystem::exists(s.env.tablesFolder() + "rates.dat"));
}

TEST(StartUp, ShortPrefsFileIsPaddedAndSaved) {
    Started s({}, false);
    s.env.writeTable("prefs.dat", "x\r\n0\r\n1");
    ASSERT_TRUE(s.program.RunStartUp());
    EXPECT_EQ(s.env.readTable("prefs.dat"),
              crlf({"x", "0", "1", "", "", "", "t", "t", "t", "t", ""}));
    EXPECT_EQ(s.env.context().lists.prefsList.count(), 11);
}

TEST(StartUp, TenLinePrefsGainsLineTenAndKeepsItsChoices) {
    Started s({}, false);
    s.env.writeTable("prefs.dat", crlf({"x", "0", "1", "a", "b", "c", "f", "t", "f", "f"}));
    ASSERT_TRUE(s.program.RunStartUp());
    EXPECT_EQ(s.env.readTable("prefs.dat"),
              crlf({"x", "0", "1", "a", "b", "c", "f", "t", "f", "f", ""}));
}

TEST(StartUp, CompletePrefsIsNeitherChangedNorRewritten) {
    Started s({}, false);
    std::string bytes = "x\n0\n1\n\n\n\nf\nf\nf\nf\n/home/lists/\n";
    s.env.writeTable("prefs.dat", bytes);
    auto path = s.env.tablesFolder() + "prefs.dat";
    auto old = std::filesystem::last_write_time(path) - std::chrono::hours(1);
    std::filesystem::last_write_time(path, old);
    ASSERT_TRUE(s.program.RunStartUp());
    EXPECT_EQ(s.env.readTable("prefs.dat"), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(path), old);
}

TEST(StartUp, SplashTimerStartsTheWizardWhenAListWasGiven) {
    Started s({"list.txt"});
    EXPECT_EQ(s.wizardRuns(), 0);
    s.env.ui.advance(4999);
    EXPECT_EQ(s.wizardRuns(), 0);
    s.env.ui.advance(1);
    EXPECT_EQ(s.wizardRuns(), 1);
    EXPECT_FALSE(s.program.welcome().form().visible());
    s.env.ui.advance(20000);
    EXPECT_EQ(s.wizardRuns(), 1) << "the timer stops with the splash";
}

TEST(StartUp, ClickOrKeyClosesTheSplashWithoutTheWizard) {
    for (bool key : {false, true}) {
        Started s({"list.txt"});
        if (key)
            s.program.welcome().form().userKeyPress('x');
        else
            s.program.welcome().form().userClick();
        EXPECT_FALSE(s.program.welcome().form().visible());
        s.env.ui.advance(10000);
        EXPECT_EQ(s.wizardRuns(), 0);
        EXPECT_FALSE(s.env.ui.quitting()) << "the program stays open";
    }
}

TEST(StartUp, SplashWithoutParametersRunsNoWizard) {
    Started s;
    s.env.ui.advance(5000);
    EXPECT_EQ(s.wizardRuns(), 0);
    EXPECT_FALSE(s.program.welcome().form().visible());
}

TEST(StartUp, CommandLineKeywordsAreCaseInsensitive) {
    Started wizard({"list.txt", "duziz"});
    EXPECT_EQ(wizard.wizardRuns(), 1);
    EXPECT_FALSE(wizard.program.welcome().form().visible());
    Started sort({"list.txt", "NoStop"});
    EXPECT_EQ(sort.sortRuns(), 1);
    Started other({"list.txt", "SOMETHING"});
    EXPECT_EQ(other.wizardRuns() + other.sortRuns(), 0);
    EXPECT_TRUE(other.program.welcome().form().visible());
    // Only parameter 2 names the mode; a table named after it does not change it.
    EXPECT_EQ(runModeOf({"NOSTOP"}), RunMode::Attended);
    EXPECT_EQ(runModeOf({"list.txt", "nostop", "DUZIZ"}), RunMode::Unattended);
    EXPECT_EQ(runModeOf({"list.txt", "Duziz", "Table1"}), RunMode::Partner);
    EXPECT_EQ(runModeOf({"list.txt", "NOSTOPS"}), RunMode::Attended);
}

TEST(StartUp, AboutBoxShowsOkAndLeavesTheProgramRunning) {
    Started s;
    s.program.welcome().form().userClick();
    s.program.mainWindow().form().findMenuItem("About1")->onClick();
    Form& about = s.program.welcome().form();
    EXPECT_TRUE(about.visible());
    EXPECT_EQ(about.tag(), 1);
    EXPECT_TRUE(about.control("okBtn").visible());
    s.env.ui.advance(10000);
    EXPECT_TRUE(about.visible()) << "the About box has no timer";
    about.control("okBtn").userClick();
    EXPECT_FALSE(about.visible());
    EXPECT_FALSE(s.env.ui.quitting());
}

TEST(StartUp, MainWindowHasEveryMenuEntry) {
    Started s;
    auto& menus = s.program.mainWindow().form().menus();
    std::vector<std::string> tops;
    for (auto& m : menus)
        tops.push_back(m.caption);
    EXPECT_EQ(tops, (std::vector<std::string>{"&File", "&Sort", "Se&ttings", "&Rates",
                                              "Postal &Lists", "&Help"}));
    auto captions = [](const MenuItem& m) {
        std::vector<std::string> c;
        for (auto& child : m.children)
            c.push_back(child.caption + (child.shortcut.empty() ? "" : " " + child.shortcut));
        return c;
    };
    EXPECT_EQ(
        captions(menus[0]),
        (std::vector<std::string>{"Print Postage Statement", "Print Mail Preparation Instructions",
                                  "Print Rate Qualification Report", "Print Tray/Sack Tags", "-",
                                  "Page Setup", "-", "E&xit Ctrl+E"}));
    EXPECT_EQ(captions(menus[1]),
              (std::vector<std::string>{"Sort Wizard Ctrl+S", "-", "Sort One List",
                                        "Verify Without Sorting Ctrl+V"}));
    EXPECT_EQ(captions(menus[2]).size(), 6u);
    EXPECT_EQ(captions(menus[3]), (std::vector<std::string>{"Standard Rates", "First Class Rates",
                                                            "Periodical Rates"}));
    ASSERT_EQ(menus[4].children.size(), 2u);
    EXPECT_EQ(menus[4].children[0].children.size(), 12u);
    EXPECT_EQ(menus[4].children[1].children[11].caption, "Periodical Zones");
    EXPECT_EQ(captions(menus[5]),
              (std::vector<std::string>{"&Contents", "&Topic Search", "-", "&About"}));
}

namespace {

std::string sourceFile(const std::string& relative) {
    std::ifstream in(std::string(QUILLAN_TEST_DATA) + "/../../" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The title of the help page of a topic, empty when there is no such page.
std::string helpPageTitle(int topic) {
    std::string page = sourceFile("data/help/topic" + std::to_string(topic) + ".html");
    std::smatch m;
    return std::regex_search(page, m, std::regex("<title>([^<]+)</title>")) ? m[1].str() : "";
}

} // namespace

// F1 in every window and every Help button open that window's own page, and every topic the
// program knows by number has a page (a dialog once asked for pages that were not there and
// got the contents instead).
TEST(StartUp, EveryWindowOpensItsOwnHelpPage) {
    Started s;
    const std::string file = "file " + s.env.folder() + "qlhelp.hlp";
    std::set<int> topics;
    for (platform::Form* form : s.program.forms()) {
        if (form == &s.program.welcome().form())
            continue; // any key closes the splash
        SCOPED_TRACE(form->name());
        const int topic = form->helpContext();
        EXPECT_NE(topic, 0);
        topics.insert(topic);
        s.env.help.calls.clear();
        form->userHelp();
        EXPECT_EQ(s.env.help.calls,
                  (std::vector<std::string>{file, "topic " + std::to_string(topic)}));
        if (platform::Control* button = form->find("HelpBtn")) {
            s.env.help.calls.clear();
            button->userClick();
            EXPECT_EQ(s.env.help.calls.back(), "topic " + std::to_string(topic));
        }
    }
    EXPECT_GE(topics.size(), 17u) << "one page per window";
    EXPECT_EQ(s.program.verifyDialog().form().helpContext(), 20);

    // Every number the program names has its page; none is used but through those names.
    const std::string names = sourceFile("app/HelpTopics.h");
    const std::regex topic("inline constexpr int (\\w+) = (\\d+);");
    int named = 0;
    for (auto it = std::sregex_iterator(names.begin(), names.end(), topic);
         it != std::sregex_iterator(); ++it, ++named)
        EXPECT_NE(helpPageTitle(std::stoi((*it)[2])), "") << (*it)[1] << " " << (*it)[2];
    EXPECT_GE(named, 20);
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QUILLAN_TEST_DATA) + "/../../app")) {
        const std::string code = sourceFile("app/" + entry.path().filename().string());
        EXPECT_FALSE(std::regex_search(code, std::regex("(showTopic|showHelpTopic|bindHelpKey)"
                                                        "\\(([^)]*,)? *[0-9]")))
            << entry.path();
    }
}

TEST(StartUp, HelpAndExitCommands) {
    Started s;
    auto& w = s.program.mainWindow().form();
    w.findMenuItem("Contents1")->onClick();
    w.findMenuItem("TopicSearch1")->onClick();
    std::string file = "file " + s.env.folder() + "qlhelp.hlp";
    EXPECT_EQ(s.env.help.calls, (std::vector<std::string>{file, "topic 1", file, "search "}));
    EXPECT_TRUE(w.findMenuItem("PageSetup")->enabled);
    w.findMenuItem("PageSetup")->onClick();
    EXPECT_EQ(s.env.ui.formLog().back(), "printer setup");
    // F1 in Page Setup opens its page, F1 in the main window the page of the menus.
    ASSERT_TRUE(s.env.ui.printerSetupHelp);
    s.env.ui.printerSetupHelp();
    EXPECT_EQ(s.env.help.calls.back(), "topic 42");
    w.userHelp();
    EXPECT_EQ(s.env.help.calls.back(), "topic 3");
    w.findMenuItem("Exit")->onClick();
    EXPECT_EQ(s.env.help.calls.back(), "quit");
    EXPECT_FALSE(s.env.context().listsLoaded);
    EXPECT_TRUE(s.env.ui.quitting());
    EXPECT_EQ(s.env.ui.exitStatus(), 0);
}

TEST(StartUp, ShortSettingsFileFailsTheCommandNamingFileAndLine) {
    Started s({}, false);
    s.env.writeTable("mailer.dat", "0\r\nACME\r\n");
    ASSERT_TRUE(s.program.RunStartUp());
    AppContext& ctx = s.env.context();
    bool ok = runGuarded(ctx, [&] { (void)ctx.lists.mailerList[6]; });
    EXPECT_FALSE(ok);
    ASSERT_EQ(s.env.ui.messages().size(), 1u);
    EXPECT_EQ(s.env.ui.messages()[0].text,
              "Quillan's own file mailer.dat is damaged: it has no line 6. Put back the file "
              "as it came with Quillan.");
}
