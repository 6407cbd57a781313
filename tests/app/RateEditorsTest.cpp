// The three rate editors driven as a person would: pages confirmed or cancelled, rates
// typed, refused and corrected; what reaches rates.dat line by line.

#include "app/Program.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct RatesProgram {
    RatesProgram() : program(env.context()) {
        // Lines no page shows hold text that is not a rate, to prove they pass untouched.
        std::vector<std::string> lines = SettingsList::splitLines(env.readTable("rates.dat"));
        for (long line : {15L, 43L, 47L, 62L, 90L, 94L})
            lines[static_cast<size_t>(line)] = "kept " + std::to_string(line);
        loaded = SettingsList(lines);
        env.writeTable("rates.dat", loaded.toBytes());
        env.load();
        env.ui.clearRecords();
    }
    void click(const std::string& entry) {
        program.mainWindow().form().findMenuItem(entry)->onClick();
    }
    SettingsList saved() const {
        return SettingsList(SettingsList::splitLines(env.readTable("rates.dat")));
    }

    test::TestEnvironment env;
    Program program;
    SettingsList loaded;
};

int boxNumber(const Control& box) {
    return std::stoi(box.name().substr(4));
}

std::vector<int> visibleBoxes(Form& form) {
    std::vector<int> numbers;
    for (const auto& c : form.controls())
        if (c->kind() == ControlKind::Edit && c->visible())
            numbers.push_back(boxNumber(*c));
    return numbers;
}

std::vector<int> range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers.push_back(n);
    return numbers;
}

// Types "<prefix>.<box number>" into every box the user can see, then presses OK.
ScriptedUi::FormAction typeAndConfirm(std::string prefix, std::string heading,
                                      std::string okCaption) {
    return [=](Form& form) {
        EXPECT_EQ(form.caption(), "Rates");
        EXPECT_EQ(form.control("RateDlogHdr").caption(), heading);
        EXPECT_EQ(form.control("OKBtn").caption(), okCaption);
        for (int n : visibleBoxes(form))
            form.control("Edit" + std::to_string(n)).userSetText(prefix + "." + std::to_string(n));
        form.control("OKBtn").userClick();
    };
}

} // namespace

TEST(RateEditors, StandardKeepsConfirmedRegularPagesWhenNonprofitIsCancelled) {
    RatesProgram p;
    auto& ui = p.env.ui;
    ui.whenShown("rateDlog1",
                 typeAndConfirm("1", "Standard Regular Letter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog2",
                 typeAndConfirm("2", "Standard Regular Nonletter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog3", typeAndConfirm("3", "Standard Regular Piece/Pound Rates", "Next"));
    ui.whenShown("rateDlog1", [](Form& form) {
        EXPECT_EQ(form.control("RateDlogHdr").caption(),
                  "Standard Nonprofit Letter-Size Per Piece Rates");
        EXPECT_EQ(form.control("Edit1").text(), "0.161") << "page 4 shows line 48";
        EXPECT_EQ(form.control("Edit15").text(), "kept 62");
        form.control("Edit1").userSetText("9.99");
        form.control("CancelBtn").userClick();
    });
    p.click("StandardRates1");

    EXPECT_EQ(ui.formLog(), (std::vector<std::string>{"modal rateDlog1", "modal rateDlog2",
                                                      "modal rateDlog3", "modal rateDlog1"}));
    EXPECT_TRUE(ui.unexpected().empty());
    EXPECT_TRUE(ui.messages().empty());
    SettingsList saved = p.saved();
    ASSERT_EQ(saved.count(), p.loaded.count());
    for (long line = 0; line < saved.count(); ++line) {
        std::string expected = p.loaded[line];
        if (line >= 1 && line <= 19 && line != 15)
            expected = "1." + std::to_string(line);
        else if (line >= 20 && line <= 31)
            expected = "2." + std::to_string(line);
        else if (line >= 32 && line <= 42)
            expected = "3." + std::to_string(line - 31);
        EXPECT_EQ(saved[line], expected) << "line " << line;
    }
    EXPECT_EQ(p.env.context().lists.ratesList.lines(), saved.lines());
}

TEST(RateEditors, AllSixStandardPagesAndCancelOnTheFirst) {
    RatesProgram p;
    auto& ui = p.env.ui;
    ui.pressWhenShown("rateDlog1", "CancelBtn");
    p.click("StandardRates1");
    EXPECT_EQ(p.saved().lines(), p.loaded.lines()) << "rewritten unchanged";

    ui.whenShown("rateDlog1",
                 typeAndConfirm("1", "Standard Regular Letter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog2",
                 typeAndConfirm("2", "Standard Regular Nonletter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog3", typeAndConfirm("3", "Standard Regular Piece/Pound Rates", "Next"));
    ui.whenShown("rateDlog1",
                 typeAndConfirm("4", "Standard Nonprofit Letter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog2",
                 typeAndConfirm("5", "Standard Nonprofit Nonletter-Size Per Piece Rates", "Next"));
    ui.whenShown("rateDlog3",
                 typeAndConfirm("6", "Standard Nonprofit Piece/Pound Rates", "Finish"));
    p.click("StandardRates1");
    EXPECT_EQ(ui.pendingActions(), 0u);
    SettingsList saved = p.saved();
    EXPECT_EQ(saved[48], "4.1");
    EXPECT_EQ(saved[66], "4.19");
    EXPECT_EQ(saved[67], "5.20");
    EXPECT_EQ(saved[78], "5.31");
    EXPECT_EQ(saved[79], "6.1");
    EXPECT_EQ(saved[89], "6.11");
}

TEST(RateEditors, ARateThatIsNotANumberIsNamedAndThePageStaysOpen) {
    RatesProgram p;
    auto& ui = p.env.ui;
    ui.whenShown("rateDlog1", [&](Form& form) {
        for (std::string bad : {"abc", "", "0.1.2"}) {
            form.control("Edit7").userSetText(bad);
            form.control("OKBtn").userClick();
            EXPECT_EQ(form.modalResult(), ModalResult::None) << bad;
        }
        form.control("Edit7").userSetText("0.205");
        form.control("Edit19").userSetText("$0.05");
        form.control("OKBtn").userClick();
        EXPECT_EQ(form.modalResult(), ModalResult::None);
        form.control("Edit19").userSetText(" .05");
        form.control("OKBtn").userClick();
    });
    ui.pressWhenShown("rateDlog2", "CancelBtn");
    p.click("StandardRates1");

    const std::string dbmc = "Please enter the rate \"Nonautomation Basic, Entry Disc. DBMC\" as a "
                             "decimal number of dollars, such as 0.25.";
    const std::string surcharge = "Please enter the rate \"Nonmachinable surcharge\" as a decimal "
                                  "number of dollars, such as 0.25.";
    std::vector<std::string> texts;
    for (const auto& m : ui.messages()) {
        texts.push_back(m.text);
        EXPECT_EQ(m.kind, MessageKind::Warning);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{dbmc, dbmc, dbmc, surcharge}));
    EXPECT_EQ(ui.beeps(), std::vector<BeepKind>(4, BeepKind::Exclamation));
    EXPECT_TRUE(ui.unexpected().empty());
    EXPECT_EQ(p.saved()[7], "0.205");
    EXPECT_EQ(p.saved()[19], " .05");
    EXPECT_EQ(p.saved()[15], "kept 15") << "the hidden box is not checked";
}

TEST(RateEditors, FirstClassLinesMapToTheTwentyBoxes) {
    RatesProgram p;
    auto& ui = p.env.ui;
    ui.whenShown("rateDlogf", [&](Form& form) {
        EXPECT_EQ(visibleBoxes(form), range(1, 20));
        for (int n = 1; n <= 20; ++n)
            EXPECT_EQ(form.control("Edit" + std::to_string(n)).text(), p.loaded[94 + n]);
        typeAndConfirm("7", "First Class Mail Automation Letter Rates", "OK")(form);
    });
    p.click("FirstClassRates1");
    EXPECT_EQ(p.env.help.calls.at(0), "file " + p.env.context().helpFilePath())
        << "the page points the help at the program's help file";
    SettingsList saved = p.saved();
    for (long line = 0; line < saved.count(); ++line)
        EXPECT_EQ(saved[line],
                  line >= 95 && line <= 114 ? "7." + std::to_string(line - 94) : p.loaded[line])
            << "line " << line;
}

TEST(RateEditors, PeriodicalInCountyPageShowsItsTenBoxesOnly) {
    RatesProgram p;
    auto& ui = p.env.ui;
    const std::vector<std::string> inCountyCaptions = {
        "NonadvGroup1", "NonadvColumn1", "NonadvColumn2", "DiscountColumn1", "DiscountColumn2"};
    auto fullPage = [&](std::string prefix, std::string heading) {
        return [=](Form& form) {
            EXPECT_EQ(visibleBoxes(form), range(1, 22));
            EXPECT_EQ(form.control("ZoneColumn1").caption(), "SCF");
            EXPECT_TRUE(form.control("ZoneColumn9").visible());
            for (const auto& name : inCountyCaptions)
                EXPECT_TRUE(form.control(name).visible()) << name;
            typeAndConfirm(prefix, heading, "Next")(form);
        };
    };
    ui.whenShown("rateDlogp", fullPage("1", "Periodical Regular Rates"));
    ui.whenShown("rateDlogp", [&](Form& form) {
        std::vector<int> ten = {1};
        for (int n = 10; n <= 18; ++n)
            ten.push_back(n);
        EXPECT_EQ(visibleBoxes(form), ten);
        EXPECT_EQ(form.control("ZoneColumn1").caption(), "All Zones");
        for (int zone = 2; zone <= 9; ++zone)
            EXPECT_FALSE(form.control("ZoneColumn" + std::to_string(zone)).visible());
        for (const auto& name : inCountyCaptions)
            EXPECT_FALSE(form.control(name).visible()) << name;
        EXPECT_EQ(form.control("Edit1").text(), p.loaded[137]);
        EXPECT_EQ(form.control("Edit18").text(), p.loaded[146]);
        form.control("Edit2").userSetText("not shown, not checked");
        typeAndConfirm("2", "Periodical In-County Rates", "Next")(form);
    });
    ui.whenShown("rateDlogp", fullPage("3", "Periodical Science-of-Agriculture Rates"));
    p.click("PeriodicalRates1");

    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.unexpected().empty());
    SettingsList saved = p.saved();
    for (long line = 0; line < saved.count(); ++line) {
        std::string expected = p.loaded[line];
        if (line >= 115 && line <= 136)
            expected = "1." + std::to_string(line - 114);
        else if (line == 137)
            expected = "2.1";
        else if (line >= 138 && line <= 146)
            expected = "2." + std::to_string(line - 128);
        else if (line >= 147)
            expected = "3." + std::to_string(line - 146);
        EXPECT_EQ(saved[line], expected) << "line " << line;
    }
}

TEST(RateEditors, AShortRateTableIsReportedBeforeAnyPage) {
    struct Case {
        const char* entry;
        long lines;
        const char* text;
    };
    for (const Case& c :
         {Case{"FirstClassRates1", 100,
               "it has 100 lines, and the First Class rates need line 114"},
          Case{"PeriodicalRates1", 100, "it has 100 lines, and the Periodical rates need line 168"},
          Case{"StandardRates1", 60, "it has 60 lines, and the Standard rates need line 89"}}) {
        RatesProgram p;
        auto lines = p.loaded.lines();
        lines.resize(static_cast<size_t>(c.lines));
        std::string bytes = SettingsList(lines).toBytes();
        p.env.writeTable("rates.dat", bytes);
        p.env.context().lists.ratesList = RateTable(SettingsList(lines));
        p.click(c.entry);
        auto& ui = p.env.ui;
        ASSERT_EQ(ui.messages().size(), 1u) << c.entry;
        EXPECT_EQ(ui.messages()[0].kind, MessageKind::Error);
        EXPECT_NE(ui.messages()[0].text.find(c.text), std::string::npos) << ui.messages()[0].text;
        EXPECT_EQ(ui.beeps(), std::vector<BeepKind>{BeepKind::Hand});
        EXPECT_TRUE(ui.formLog().empty()) << "no page is shown";
        EXPECT_EQ(p.env.readTable("rates.dat"), bytes);
    }
}
