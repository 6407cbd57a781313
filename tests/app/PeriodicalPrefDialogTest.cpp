#include "app/PeriodicalDialog.h"
#include "app/PrefDialog.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct Dialogs {
    test::TestEnvironment env{test::geographyFolder()};
    std::unique_ptr<PeriodicalDialog> periodicals;
    std::unique_ptr<PrefDialog> prefs;

    Dialogs() {
        env.load();
        periodicals = std::make_unique<PeriodicalDialog>(env.context());
        prefs = std::make_unique<PrefDialog>(env.context());
    }
    std::vector<std::string> file(const char* name) const {
        return SettingsList::splitLines(env.readTable(name));
    }
};

void fillPeriodicals(Form& f, const std::string& advertising, bool inCounty,
                     const std::string& county) {
    f.control("AdPer").userSetText(advertising);
    f.control("InCounty").userSetChecked(inCounty);
    f.control("county").userSetText(county);
}

} // namespace

TEST(PeriodicalDialog, AdvertisingPercentageMustBeBetween0And100) {
    const std::string rangeMsg = "\"Advertising Percentage\" must be between 0 and 100.";
    const std::string countyMsg =
        "\"County code\" must be filled in if in-county rates are selected.";
    struct Case {
        std::string advertising;
        bool inCounty;
        std::string county;
        std::string message; // empty when the entries pass
    };
    const std::vector<Case> cases = {
        {"100", false, "", ""},      {"0", false, "", ""},
        {"12.75", true, "113", ""},  {"100.01", false, "", rangeMsg},
        {"", false, "", rangeMsg},   {".", false, "", rangeMsg},
        {"-5", false, "", rangeMsg}, {"1.2.3", false, "", rangeMsg},
        {"50", true, "", countyMsg}, {"101", true, "", rangeMsg},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.advertising + "' county '" + c.county + "'");
        Dialogs d;
        auto before = d.file("per.dat");
        d.env.ui.whenShown("PeriodicalDlog", [&c](Form& f) {
            fillPeriodicals(f, c.advertising, c.inCounty, c.county);
            f.control("okbtn").userClick();
        });
        d.env.ui.pressWhenShown("PeriodicalDlog", "CancelBtn");
        int result = d.periodicals->EditPeriodicalSettings(0);
        if (c.message.empty()) {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(d.env.ui.messages().empty());
            EXPECT_EQ(d.file("per.dat")[2], c.advertising);
            EXPECT_EQ(d.file("per.dat")[4], c.inCounty ? "t" : "f");
            EXPECT_EQ(d.file("per.dat")[5], c.county);
            continue;
        }
        EXPECT_EQ(result, 0);
        ASSERT_EQ(d.env.ui.messages().size(), 1u);
        EXPECT_EQ(d.env.ui.messages()[0].text, c.message);
        EXPECT_EQ(d.env.ui.messages()[0].kind, MessageKind::Warning);
        EXPECT_EQ(d.env.ui.beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
        EXPECT_EQ(d.file("per.dat"), before);
        EXPECT_EQ(d.env.context().lists.periodicalList.lines(), before);
    }
}

TEST(PeriodicalDialog, ChoicesRoundTripAndBackStores) {
    Dialogs d;
    d.env.ui.whenShown("PeriodicalDlog", [](Form& f) {
        EXPECT_EQ(f.control("bagpc").itemIndex(), 1) << "per.dat holds 24";
        f.control("NewsPer").userSetItemIndex(1);
        f.control("RatePer").userSetItemIndex(3);
        f.control("bagpc").userSetItemIndex(0);
        f.control("backBtn").userClick();
    });
    EXPECT_EQ(d.periodicals->EditPeriodicalSettings(1), -1);
    auto lines = d.file("per.dat");
    EXPECT_EQ(lines[1], "1");
    EXPECT_EQ(lines[3], "3");
    EXPECT_EQ(lines[6], "6");

    d.env.context().lists.periodicalList[6] = "12";
    d.env.ui.whenShown("PeriodicalDlog", [](Form& f) {
        EXPECT_EQ(f.control("bagpc").itemIndex(), 1) << "anything but 6 shows 24";
        EXPECT_EQ(f.control("NewsPer").itemIndex(), 1);
        f.control("nextBtn").userClick();
    });
    EXPECT_EQ(d.periodicals->EditPeriodicalSettings(1), 1);
    EXPECT_EQ(d.file("per.dat")[6], "24");
}

TEST(PrefDialog, SeparateFileChoiceEnablesItsGroupsAtOnce) {
    Dialogs d;
    auto before = d.file("prefs.dat");
    d.env.ui.whenShown("PrefDlog", [](Form& f) {
        EXPECT_FALSE(f.control("prefStandard").enabled()) << "prefs.dat says save in my file";
        EXPECT_FALSE(f.control("OutFormat").enabled());
        f.control("PrefOutput").userSetItemIndex(1);
        EXPECT_TRUE(f.control("prefStandard").enabled());
        EXPECT_TRUE(f.control("OutFormat").enabled());
        f.control("OutFormat").userSetItemIndex(1);
        f.control("PrefOutput").userSetItemIndex(2);
        EXPECT_FALSE(f.control("prefStandard").enabled());
        EXPECT_FALSE(f.control("OutFormat").enabled());
        EXPECT_EQ(f.control("OutFormat").itemIndex(), 1) << "disabled groups keep their items";
        EXPECT_EQ(f.control("prefStandard").items()[0], "Name it \"QLsort1.txt\".");
        f.control("CancelBtn").userClick();
    });
    EXPECT_EQ(d.prefs->EditPreferences(0), 0);
    EXPECT_EQ(d.file("prefs.dat"), before) << "Cancel stores nothing";
}

TEST(PrefDialog, StoresLinesOneToFiveOnly) {
    for (const char* button : {"nextBtn", "backBtn"}) {
        SCOPED_TRACE(button);
        Dialogs d;
        SettingsList& prefs = d.env.context().lists.prefsList;
        prefs[6] = "f";
        prefs[8] = "f";
        prefs[10] = "/home/mailer/lists/june.txt";
        d.env.ui.whenShown("PrefDlog", [button](Form& f) {
            EXPECT_EQ(f.control("nextBtn").caption(), "Fi&nish");
            f.control("rejectRpt").userSetItemIndex(1);
            f.control("PrefOutput").userSetItemIndex(1);
            f.control("prefStandard").userSetItemIndex(1);
            f.control("OutFormat").userSetItemIndex(1);
            f.control("zip9only").userSetItemIndex(0);
            f.control(button).userClick();
        });
        int expected = std::string(button) == "backBtn" ? -1 : 1;
        EXPECT_EQ(d.prefs->EditPreferences(1), expected);
        std::vector<std::string> lines = {
            "", "1", "1", "1", "1", "0", "f", "t", "f", "t", "/home/mailer/lists/june.txt"};
        EXPECT_EQ(d.file("prefs.dat"), lines);
        EXPECT_EQ(prefs.lines(), lines);
    }
}
