#include "app/MailTypeDialog.h"
#include "app/Program.h"
#include "tests/support/TestEnvironment.h"

#include <functional>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

using Fill = std::function<void(Form&)>;

struct MailTypeDlg {
    test::TestEnvironment env{test::geographyFolder()};
    std::unique_ptr<MailTypeDialog> dialog;

    MailTypeDlg() {
        env.load();
        dialog = std::make_unique<MailTypeDialog>(env.context());
    }

    // One attempt: fill the boxes as a person would, then press the button.
    void attempt(Fill fill, const std::string& button = "okBtn") {
        env.ui.whenShown("MailTypeDlog", [fill, button](Form& f) {
            fill(f);
            f.control(button).userClick();
        });
    }
    std::vector<std::string> file() const {
        return SettingsList::splitLines(env.readTable("mailtype.dat"));
    }
    std::vector<std::string> memory() { return env.context().lists.mailTypeList.lines(); }
};

Fill typed(int mailType, int size, int weightChoice, std::string weight, std::string stack,
           std::string sackMax = "70", int tray = 0) {
    return [=](Form& f) {
        f.control("MailType").userSetItemIndex(mailType);
        f.control("LtrFlt").userSetItemIndex(size);
        f.control("WtMin").userSetItemIndex(weightChoice);
        f.control("PcWt").setText(weight);
        f.control("stack").userSetText(stack);
        f.control("sackMax").userSetText(sackMax);
        f.control("TrayType").userSetItemIndex(tray);
    };
}

} // namespace

TEST(MailTypeDialog, StackCountStoresTrayFiguresAndReadsBack) {
    struct Case {
        int tray;
        const char* stack;
        const char* line7;
        const char* line6;
    };
    for (const Case& c : {Case{0, "50", "210", "170"}, Case{1, "51", "221", "179"}}) {
        MailTypeDlg d;
        d.attempt(typed(3, 0, 0, "", c.stack, "", c.tray));
        ASSERT_EQ(d.dialog->EditMailCategories(0), 1);
        auto lines = d.file();
        EXPECT_EQ(lines[7], c.line7);
        EXPECT_EQ(lines[6], c.line6);
        EXPECT_EQ(lines[8], std::to_string(c.tray));
        EXPECT_EQ(d.memory(), lines);
        std::string shown;
        d.env.ui.whenShown("MailTypeDlog", [&](Form& f) {
            shown = f.control("stack").text();
            f.control("CancelBtn").userClick();
        });
        EXPECT_EQ(d.dialog->EditMailCategories(0), 0);
        EXPECT_EQ(shown, c.stack);
    }
}

TEST(MailTypeDialog, FlatsKeepThePackageFigureAndStoreTheSackLimit) {
    MailTypeDlg d;
    std::string before = d.file()[6];
    d.attempt(typed(2, 1, 0, "", "80", "55"));
    ASSERT_EQ(d.dialog->EditMailCategories(0), 1);
    EXPECT_EQ(d.file()[6], before);
    EXPECT_EQ(d.file()[7], "336");
    EXPECT_EQ(d.file()[9], "55");
    EXPECT_EQ(d.file()[3], "1");
}

// Each bad entry keeps the dialog open with one warning; after Cancel neither the file nor
// the list in memory has changed.
TEST(MailTypeDialog, RefusedEntriesWarnOnceAndChangeNothing) {
    const std::string stackMsg = "\"Pieces in a 5-inch stack\" must be filled in.";
    const std::string sackMsg = "\"Max. pounds per sack\" must be filled in.";
    const std::string flatWeightMsg =
        "Piece weight must be filled in, or the \"1.92 or less\" button must be selected.";
    const std::string periodicalWeightMsg = "Piece weight must be filled in.";
    struct Case {
        const char* what;
        Fill fill;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty letter stack", typed(1, 0, 0, "", ""), stackMsg},
        {"zero letter stack", typed(1, 0, 0, "", "0"), stackMsg},
        {"signed stack", typed(1, 0, 0, "", "+5"), stackMsg},
        {"stack beyond 32 bits", typed(1, 0, 0, "", "4294967346"), stackMsg},
        {"stack whose tray figure overflows", typed(1, 0, 0, "", "600000000"), stackMsg},
        {"zero flat stack", typed(2, 1, 0, "", "0"), stackMsg},
        {"empty sack limit", typed(2, 1, 0, "", "80", ""), sackMsg},
        {"sack limit beyond 32 bits", typed(2, 1, 0, "", "80", "99999999999"), sackMsg},
        {"39 pounds", typed(2, 1, 0, "", "80", "39"),
         "Maximum pounds per sack must be at least 40 pounds."},
        {"71 pounds", typed(2, 1, 0, "", "80", "71"),
         "Maximum pounds per sack cannot exceed 70 pounds."},
        {"no Standard flat weight", typed(2, 1, 1, "", "80"), flatWeightMsg},
        {"no Periodicals weight", typed(5, 1, 1, "", "80"), periodicalWeightMsg},
        {"two points", typed(1, 0, 1, "1.2.3", "50"),
         "Piece weight must be filled in, or the \"3.3 or less\" button must be selected."},
        {"point alone", typed(2, 1, 1, ".", "80"), flatWeightMsg},
        {"decimal comma", typed(2, 1, 1, "2,5", "80"), flatWeightMsg},
        {"zero weight", typed(6, 0, 1, "0", "50"), periodicalWeightMsg},
        {"Standard automation letter over 3.5", typed(3, 0, 1, "3.51", "50"),
         "Weight of standard automation letters cannot exceed 3.5 ounces."},
        {"Standard over 16", typed(2, 1, 1, "16.01", "80"),
         "Weight of standard class mail cannot exceed 16 ounces."},
        {"Standard automation flat over 96", typed(3, 1, 1, "96.01", "80"),
         "Weight of periodical flats cannot exceed 96 ounces."},
        {"Periodicals flat over 96", typed(7, 1, 1, "96.5", "80"),
         "Weight of periodical flats cannot exceed 96 ounces."},
        {"Periodicals automation letter over 3.3", typed(6, 0, 1, "3.31", "50"),
         "Weight of periodicals automation letters cannot exceed 3.3 ounces."},
        {"First-Class letter over 3.3", typed(8, 0, 1, "3.4", "50"),
         "Weight of first class automation letters cannot exceed 3.3 ounces."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MailTypeDlg d;
        auto fileBefore = d.file();
        auto memoryBefore = d.memory();
        d.attempt(c.fill);
        d.env.ui.pressWhenShown("MailTypeDlog", "CancelBtn");
        EXPECT_EQ(d.dialog->EditMailCategories(0), 0);
        ASSERT_EQ(d.env.ui.messages().size(), 1u);
        const auto& box = d.env.ui.messages()[0];
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.kind, MessageKind::Warning);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(d.env.ui.beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
        EXPECT_EQ(d.file(), fileBefore);
        EXPECT_EQ(d.memory(), memoryBefore);
        EXPECT_TRUE(d.env.ui.unexpected().empty());
    }
}

TEST(MailTypeDialog, EntriesAtTheLimitsPass) {
    struct Case {
        const char* what;
        Fill fill;
    };
    const std::vector<Case> cases = {
        {"70 pounds", typed(2, 1, 0, "", "80", "70")},
        {"40 pounds", typed(4, 1, 0, "", "80", "40")},
        {"empty Standard flat weight with its minimum chosen", typed(2, 1, 0, "", "80")},
        {"Standard automation letter at 3.5", typed(3, 0, 1, "3.5", "50")},
        {"Standard at 16", typed(1, 0, 1, "16", "50")},
        {"Standard automation flat at 96", typed(3, 1, 1, "96", "80")},
        {"Periodicals flat at 96", typed(6, 1, 1, "96", "80")},
        {"Periodicals nonautomation without a cap", typed(5, 1, 1, "100", "80")},
        {"leading point", typed(8, 0, 1, ".5", "50")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MailTypeDlg d;
        d.attempt(c.fill, "nextBtn");
        EXPECT_EQ(d.dialog->EditMailCategories(1), 1);
        EXPECT_TRUE(d.env.ui.messages().empty());
    }
}

TEST(MailTypeDialog, WizardPageIsShownAgainUntilValidThenSaved) {
    MailTypeDlg d;
    d.env.ui.whenShown("MailTypeDlog", [](Form& f) {
        EXPECT_FALSE(f.control("okBtn").visible());
        EXPECT_TRUE(f.control("backBtn").visible());
        EXPECT_FALSE(f.control("backBtn").enabled()) << "the first page has no Back";
        typed(1, 0, 0, "", "0")(f);
        f.control("nextBtn").userClick();
    });
    d.attempt([](Form& f) { f.control("stack").userSetText("40"); }, "nextBtn");
    EXPECT_EQ(d.dialog->EditMailCategories(1), 1);
    EXPECT_EQ(d.env.ui.messages().size(), 1u);
    EXPECT_EQ(d.file()[7], "168");
    EXPECT_EQ(d.file()[1], "1");
}

namespace {

// One row of the control states a mail type sets: "" for an item caption means none, a
// negative index means "whatever it was".
struct StateRow {
    int mailType, size, rate;
    bool rateEnabled;
    std::vector<std::string> rates;
    int sizeIndex;
    bool sizeEnabled;
    std::string weightCaption;
    int weightIndex;
    bool weightEnabled, weightBox;
    bool trayEnabled;
    std::string emm;
    int trayIndex;
    bool sackEnabled;
};

} // namespace

TEST(MailTypeDialog, ControlStatesFollowTheMailType) {
    const std::vector<std::string> noCard = {"Regular", "[Card]", "Nonprofit"};
    const std::vector<std::string> noNonprofit = {"Regular", "Card", "[Nonprofit]"};
    const std::vector<std::string> plain = {"Regular", "Card", "Nonprofit"};
    const std::string emm = "emm - oversize";
    const std::vector<StateRow> rows = {
        {0, 1, 0, true, noCard, 0, false, "3.3 or less", 0, false, false, true, emm, -1, false},
        {1, 1, 0, true, noCard, 0, false, "3.3 or less", -1, true, true, true, emm, -1, false},
        {2, 0, 0, true, noCard, 1, false, "1.92 or less", -1, true, true, false, emm, -1, true},
        {3, 0, 0, true, noCard, 0, true, "3.3 or less", -1, true, true, true, emm, -1, false},
        {3, 1, 0, true, noCard, 1, true, "1.92 or less", -1, true, true, false, emm, -1, true},
        {4, 0, 0, true, noCard, 1, false, "1.92 or less", -1, true, true, false, emm, -1, true},
        {5, 0, 0, false, plain, 0, true, "", 1, false, true, true, emm, -1, false},
        {6, 0, 0, false, plain, 0, true, "", 1, false, true, true, emm, -1, false},
        {5, 1, 0, false, plain, 1, true, "", 1, false, true, false, emm, -1, true},
        {6, 1, 0, false, plain, 1, true, "", 1, false, true, false, emm, -1, true},
        {7, 0, 0, false, plain, 1, false, "", 1, false, true, false, emm, -1, true},
        {8, 1, 0, true, noNonprofit, 0, false, "1.0 or less", -1, true, true, true, emm, -1, false},
        {8, 1, 1, true, noNonprofit, 0, false, "1.0 or less", 0, false, false, false, "[emm]", 0,
         false},
    };
    for (const StateRow& r : rows) {
        SCOPED_TRACE("mail type " + std::to_string(r.mailType) + " size " + std::to_string(r.size) +
                     " rate " + std::to_string(r.rate));
        MailTypeDlg d;
        Form& f = d.dialog->form();
        d.env.ui.whenShown("MailTypeDlog", [&](Form&) {
            f.control("TrayType").userSetItemIndex(1);
            f.control("MailType").userSetItemIndex(r.mailType);
            f.control("LtrFlt").userSetItemIndex(r.size);
            f.control("RegNon").userSetItemIndex(r.rate);
            EXPECT_EQ(f.control("RegNon").enabled(), r.rateEnabled);
            EXPECT_EQ(f.control("RegNon").items(), r.rates);
            EXPECT_EQ(f.control("LtrFlt").itemIndex(), r.sizeIndex);
            EXPECT_EQ(f.control("LtrFlt").enabled(), r.sizeEnabled);
            EXPECT_EQ(f.control("WtMin").items()[0], r.weightCaption);
            if (r.weightIndex >= 0) {
                EXPECT_EQ(f.control("WtMin").itemIndex(), r.weightIndex);
            }
            EXPECT_EQ(f.control("WtMin").enabled(), r.weightEnabled);
            EXPECT_EQ(f.control("PcWt").enabled(), r.weightBox);
            EXPECT_EQ(f.control("PcWt").color(), r.weightBox ? colors::White : colors::Silver);
            EXPECT_EQ(f.control("TrayType").enabled(), r.trayEnabled);
            EXPECT_EQ(f.control("TrayType").items()[1], r.emm);
            if (r.trayIndex >= 0) {
                EXPECT_EQ(f.control("TrayType").itemIndex(), r.trayIndex);
            }
            EXPECT_EQ(f.control("sackMax").enabled(), r.sackEnabled);
            EXPECT_TRUE(f.control("stack").enabled());
            f.control("CancelBtn").userClick();
        });
        d.dialog->EditMailCategories(0);
    }
}

TEST(MailTypeDialog, BracketedRateGivesWayToTheOneChosenBefore) {
    MailTypeDlg d;
    Form& f = d.dialog->form();
    d.env.ui.whenShown("MailTypeDlog", [&](Form&) {
        f.control("MailType").userSetItemIndex(3);
        f.control("RegNon").userSetItemIndex(2);
        f.control("RegNon").userSetItemIndex(1); // [Card] cannot stay chosen
        EXPECT_EQ(f.control("RegNon").itemIndex(), 2);
        f.control("MailType").userSetItemIndex(8); // [Nonprofit]: Nonprofit was before too
        EXPECT_EQ(f.control("RegNon").itemIndex(), 0);
        f.control("RegNon").userSetItemIndex(1);
        f.control("MailType").userSetItemIndex(0); // Card is out, and was chosen before
        EXPECT_EQ(f.control("RegNon").itemIndex(), 0);
        f.control("CancelBtn").userClick();
    });
    d.dialog->EditMailCategories(0);
}

TEST(MailTypeDialog, TypingAWeightChoosesTheExactWeight) {
    MailTypeDlg d;
    Form& f = d.dialog->form();
    d.env.ui.whenShown("MailTypeDlog", [&](Form&) {
        f.control("MailType").userSetItemIndex(1);
        f.control("WtMin").userSetItemIndex(0);
        f.control("PcWt").userSetText("2.5");
        EXPECT_EQ(f.control("WtMin").itemIndex(), 1);
        f.control("okBtn").userClick();
    });
    ASSERT_EQ(d.dialog->EditMailCategories(0), 1);
    EXPECT_EQ(d.file()[4], "1");
    EXPECT_EQ(d.file()[5], "2.5");
}

TEST(MailTypeDialog, SettingsMenuEntryOpensTheDialog) {
    test::TestEnvironment env(test::geographyFolder());
    Program program(env.context());
    ASSERT_TRUE(program.RunStartUp());
    env.ui.pressWhenShown("MailTypeDlog", "CancelBtn");
    env.ui.pressWhenShown("MlrInfoDlog", "CancelBtn");
    env.ui.pressWhenShown("PeriodicalDlog", "CancelBtn");
    env.ui.pressWhenShown("PrefDlog", "CancelBtn");
    for (const char* entry :
         {"MailType1", "MailerInformation1", "PeriodicalsSettings1", "Preferences1"}) {
        MenuItem* item = program.mainWindow().form().findMenuItem(entry);
        ASSERT_TRUE(item && item->enabled && item->onClick) << entry;
        item->onClick();
    }
    EXPECT_EQ(env.ui.pendingActions(), 0u);
    EXPECT_TRUE(env.ui.unexpected().empty());
}

TEST(MailTypeDialog, UnreadableSettingsLineIsReportedByTheMenuCommand) {
    test::TestEnvironment env(test::geographyFolder());
    Program program(env.context());
    ASSERT_TRUE(program.RunStartUp());
    env.context().lists.mailTypeList[7] = "many";
    env.ui.clearRecords();
    program.mainWindow().form().findMenuItem("MailType1")->onClick();
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.messages()[0].text,
              "Quillan's own file mailtype.dat is damaged: line 7 is not a number ('many'). Put "
              "back the file as it came with Quillan.");
    EXPECT_EQ(env.ui.messages()[0].kind, MessageKind::Error);
}
