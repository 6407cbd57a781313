// The label-list editor and the ZIP chart editor through the Postal Lists menu, over the
// test geography: navigation, what an edit may and may not store, and what reaches the
// label and chart files.

#include "app/Program.h"
#include "core/Convert.h"
#include "tests/support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct Editors {
    Editors() : env(test::geographyFolder()), program(env.context()) {
        env.load();
        env.ui.clearRecords();
    }
    void click(const std::string& entry) {
        program.mainWindow().form().findMenuItem(entry)->onClick();
    }
    std::vector<std::string> saved(const std::string& file) const {
        return SettingsList::splitLines(env.readTable(file));
    }
    AppContext& ctx() { return env.context(); }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : env.ui.messages())
            texts.push_back(m.text);
        return texts;
    }

    test::TestEnvironment env;
    Program program;
};

const char* const Navigation[] = {"prevbtn", "nextbtn", "newbtn", "CancelBtn"};

std::vector<bool> navigationEnabled(Form& form) {
    std::vector<bool> enabled;
    for (const char* name : Navigation)
        enabled.push_back(form.control(name).enabled());
    return enabled;
}

const std::vector<bool> AllEnabled(4, true);
const std::vector<bool> NoneEnabled(4, false);

// The chart lines 1 to 999 that hold the value.
std::vector<int> prefixesHolding(const SettingsList& chart, int32_t value) {
    std::vector<int> prefixes;
    for (int p = 1; p <= 999; ++p)
        if (chart.numberAt(p) == value)
            prefixes.push_back(p);
    return prefixes;
}

} // namespace

TEST(LabelListEditor, NavigationWrapsAndAnEditMustBeStoredOrDiscarded) {
    Editors e;
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "ADC Labels - Standard");
        EXPECT_EQ(form.tag(), 4);
        EXPECT_TRUE(form.control("Label2").visible());
        EXPECT_TRUE(form.control("Label3").visible());
        EXPECT_EQ(form.control("Label1").text(), "ADC SPRINGFIELD MA 010");
        form.control("prevbtn").userClick();
        EXPECT_EQ(form.control("Label1").text(), "ADC HONOLULU HI 967") << "before 1: the last";
        form.control("nextbtn").userClick();
        EXPECT_EQ(form.control("Label1").text(), "ADC SPRINGFIELD MA 010") << "after the last: 1";
        EXPECT_EQ(navigationEnabled(form), AllEnabled);

        form.control("Label2").userSetText("letters");
        EXPECT_EQ(form.control("Label2").text(), "LETTERS");
        EXPECT_EQ(navigationEnabled(form), NoneEnabled);
        form.control("revertbtn").userClick();
        EXPECT_EQ(form.control("Label2").text(), "");
        EXPECT_EQ(navigationEnabled(form), AllEnabled);

        form.control("newbtn").userClick();
        EXPECT_EQ(form.control("Label1").text(), "");
        EXPECT_EQ(navigationEnabled(form), NoneEnabled);
        form.control("Label1").userSetText("a");
        form.control("Label3").userSetText("c");
        form.control("OKBtn").userClick();
        EXPECT_EQ(navigationEnabled(form), AllEnabled);
        EXPECT_EQ(form.control("Label1").text(), "A");
        form.control("nextbtn").userClick();
        EXPECT_EQ(form.control("Label1").text(), "ADC SPRINGFIELD MA 010") << "A is the last";
        form.control("CancelBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_EQ(form.tag(), 9) << "the new entry's label number";
        EXPECT_EQ(form.control("Label1").caption(), "Zips for: A");
        EXPECT_EQ(form.control("ZipList").text(), "");
        EXPECT_FALSE(form.control("UniqueList").visible());
        form.control("ZipList").userSetText("500");
        form.control("OKBtn").userClick();
    });
    e.click("EditADCSacks");
    EXPECT_TRUE(e.env.ui.unexpected().empty());
    EXPECT_EQ(e.saved("adclist.dat").back(), "A**C");
    EXPECT_EQ(e.ctx().lists.adcLabels.count(), 10);
    EXPECT_EQ(e.saved("adcschrt.dat")[500], "9");
    EXPECT_EQ(e.program.updateDlog().form().control("Label5").caption(),
              "Press OK to record changes and see the list of changes for this label.");
}

// Escape (and the close box) stand for "Leave", greyed while an entry is changed: they ask
// whether to keep the change. Cancel stays with it, No throws it away, Yes stores it.
TEST(LabelListEditor, EscapeAsksWhetherToKeepAChangedEntry) {
    Editors e;
    const std::string before = e.env.readTable("adclist.dat");
    e.env.ui.whenShown("UpdateDlog", [&](Form& form) {
        EXPECT_TRUE(form.userClose()) << "nothing changed: leaves without a word";
    });
    e.click("EditADCSacks");
    EXPECT_TRUE(e.env.ui.messages().empty());

    e.env.ui.whenShown("UpdateDlog", [&](Form& form) {
        form.control("Label2").userSetText("letters");
        e.env.ui.answerNextMessage(ModalResult::Cancel);
        EXPECT_FALSE(form.userClose());
        EXPECT_EQ(form.control("Label2").text(), "LETTERS") << "still there to be stored";
        e.env.ui.answerNextMessage(ModalResult::No);
        EXPECT_TRUE(form.userClose());
    });
    e.click("EditADCSacks");
    ASSERT_EQ(e.env.ui.messages().size(), 2u);
    EXPECT_EQ(e.env.ui.messages()[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(e.env.ui.messages()[0].over, "UpdateDlog");
    EXPECT_NE(e.env.ui.messages()[0].text.find("keep the change"), std::string::npos);
    EXPECT_EQ(e.env.readTable("adclist.dat"), before) << "No throws the change away";

    e.env.ui.whenShown("UpdateDlog", [&](Form& form) {
        form.control("newbtn").userClick();
        EXPECT_TRUE(form.userClose()) << "a new entry with nothing typed is no change";
    });
    e.click("EditADCSacks");
    EXPECT_EQ(e.env.ui.messages().size(), 2u);

    e.env.ui.whenShown("UpdateDlog", [&](Form& form) {
        form.control("Label2").userSetText("letters");
        e.env.ui.answerNextMessage(ModalResult::Yes);
        EXPECT_TRUE(form.userClose());
    });
    e.click("EditADCSacks");
    EXPECT_TRUE(e.env.ui.unexpected().empty());
    EXPECT_EQ(splitEntry(e.saved("adclist.dat")[1]).line2, "LETTERS") << "Yes stores it";
    EXPECT_EQ(splitEntry(e.ctx().lists.adcLabels[1]).line2, "LETTERS");
}

TEST(LabelListEditor, ZoneNamesAreFixedAndOnlyTheirPrefixesChange) {
    Editors e;
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "Periodical Zones");
        EXPECT_FALSE(form.control("Label2").visible());
        EXPECT_FALSE(form.control("Label3").visible());
        EXPECT_TRUE(form.control("Label1").readOnly());
        EXPECT_FALSE(form.control("newbtn").enabled());
        EXPECT_FALSE(form.control("Label4").visible());
        form.control("Label1").userSetText("ZONE 99");
        EXPECT_EQ(form.control("Label1").text(), "ZONE 1");
        form.control("OKBtn").userClick();
        EXPECT_FALSE(form.control("newbtn").enabled()) << "still no new zone";
        EXPECT_TRUE(form.control("nextbtn").enabled());
        form.control("CancelBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_EQ(form.control("Label1").caption(), "Zips for: ZONE 1");
        form.control("ZipList").userSetText("001-002");
        form.userClose(); // the close box stores as Finish does
    });
    e.click("PeriodicalZones1");
    EXPECT_TRUE(e.env.ui.unexpected().empty());
    EXPECT_EQ(prefixesHolding(e.ctx().lists.zoneChart, 1), (std::vector<int>{1, 2}));
    EXPECT_EQ(e.saved("zonechrt.dat")[2], "1");
    EXPECT_EQ(e.saved("zonelist.dat")[1], "ZONE 1");
}

TEST(LabelListEditor, RefusesAStarInALineAndStartsAnEmptyListAnew) {
    Editors e;
    std::string before = e.env.readTable("tdsclist.dat");
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        form.control("Label2").userSetText("LETTERS*FLATS");
        form.control("OKBtn").userClick();
        EXPECT_EQ(navigationEnabled(form), NoneEnabled) << "the edit is still pending";
        form.control("revertbtn").userClick();
        form.control("CancelBtn").userClick();
    });
    e.click("EditSchemeSacks");
    EXPECT_EQ(e.env.readTable("tdsclist.dat"), before);
    ASSERT_EQ(e.env.ui.messages().size(), 1u);
    EXPECT_NE(e.env.ui.messages()[0].text.find("cannot contain \"*\""), std::string::npos);
    EXPECT_TRUE(e.env.ui.unexpected().empty()) << "no chart editor after a refusal";

    // A label list with no entry, not even its placeholder line.
    for (std::string bytes : {"", "\r\n"}) {
        e.ctx().lists.schemeLabels = SettingsList(SettingsList::splitLines(bytes));
        e.env.ui.whenShown("UpdateDlog", [](Form& form) {
            EXPECT_EQ(form.control("Label1").text(), "");
            EXPECT_FALSE(form.control("prevbtn").enabled());
            EXPECT_FALSE(form.control("nextbtn").enabled());
            EXPECT_TRUE(form.control("CancelBtn").enabled());
            form.control("revertbtn").userClick();
            EXPECT_TRUE(form.control("CancelBtn").enabled());
            form.control("Label1").userSetText("buffalo ny 140");
            form.control("OKBtn").userClick();
            form.control("CancelBtn").userClick();
        });
        e.env.ui.pressWhenShown("EditZipsDlog", "OKBtn");
        e.click("EditSchemeSacks");
        EXPECT_EQ(e.saved("tdsclist.dat"), (std::vector<std::string>{"", "BUFFALO NY 140"}));
    }
    EXPECT_TRUE(e.env.ui.unexpected().empty());
}

TEST(ZipChartEditor, TypedRangesRoundTripAndUnreadableTextKeepsTheDialogOpen) {
    Editors e;
    std::string chartBefore = e.env.readTable("adcschrt.dat");
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        form.control("OKBtn").userClick(); // unchanged: saved, chart editor opened
        form.control("OKBtn").userClick();
        form.control("OKBtn").userClick();
        form.control("CancelBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [&](Form& form) {
        EXPECT_EQ(form.control("Label1").caption(), "Zips for: ADC SPRINGFIELD MA 010");
        EXPECT_EQ(form.control("ZipList").text(), "010-014");
        form.control("ZipList").userSetText("1a");
        form.control("OKBtn").userClick();
        EXPECT_EQ(form.modalResult(), ModalResult::None);
        EXPECT_EQ(e.env.readTable("adcschrt.dat"), chartBefore);
        form.control("ZipList").userSetText("050, 100-1000");
        form.userClose();
        EXPECT_EQ(form.modalResult(), ModalResult::None);
        form.control("revertbtn").userClick();
        EXPECT_EQ(form.control("ZipList").text(), "010-014");
        form.control("ZipList").userSetText("001-005, 010");
        form.control("OKBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_EQ(form.control("ZipList").text(), "001-005, 010");
        form.control("ZipList").userSetText("005-001");
        form.control("OKBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_EQ(form.control("ZipList").text(), "001, 005");
        form.control("OKBtn").userClick();
    });
    e.click("EditADCSacks");
    EXPECT_TRUE(e.env.ui.unexpected().empty());
    EXPECT_EQ(e.messageTexts(),
              (std::vector<std::string>{"'1a' is not a valid integer value",
                                        "'100-1000' is not a range of 3-digit ZIP prefixes: both "
                                        "ends must lie from 001 to 999."}));
    EXPECT_EQ(prefixesHolding(e.ctx().lists.adcStandardChart, 1), (std::vector<int>{1, 5}));
    EXPECT_EQ(e.saved("adcschrt.dat"), e.ctx().lists.adcStandardChart.lines());
    EXPECT_EQ(e.saved("adcschrt.dat")[10], "0");
    EXPECT_EQ(e.saved("adcpchrt.dat")[10], "1") << "the Periodicals chart is another file";
}

TEST(ZipChartEditor, UniqueCitiesAndTheSharedDestinationBmcChart) {
    Editors e;
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        form.control("OKBtn").userClick();
        EXPECT_TRUE(form.visible()) << "Zip List leaves the editor open";
        form.control("CancelBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_TRUE(form.control("UniqueList").visible());
        EXPECT_EQ(form.control("ZipList").text(), "010-013");
        EXPECT_EQ(form.control("UniqueList").text(), "011");
        form.control("UniqueList").userSetText("011, 013, 500");
        form.control("OKBtn").userClick();
    });
    e.click("EditTDigitSacks");
    const SettingsList& td = e.ctx().lists.threeDigitChart;
    EXPECT_EQ(prefixesHolding(td, -1), (std::vector<int>{11, 13}));
    EXPECT_EQ(prefixesHolding(td, 1), (std::vector<int>{10, 12}));

    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        EXPECT_EQ(form.caption(), "BMC/ASF Entry Labels");
        form.control("OKBtn").userClick();
        form.control("CancelBtn").userClick();
    });
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        EXPECT_EQ(form.control("Label1").caption(), "Zips for: ADC SPRINGFIELD MA 01152");
        form.control("ZipList").userSetText("010-012");
        form.control("OKBtn").userClick();
    });
    e.click("EditBMCASFEntry");
    EXPECT_EQ(e.saved("dbmcchrt.dat")[13], "0");
    EXPECT_EQ(prefixesHolding(e.ctx().lists.dbmcChart, 1), (std::vector<int>{10, 11, 12}));
    EXPECT_TRUE(e.env.ui.unexpected().empty());
}

TEST(PostalListEditors, AFileThatCannotBeWrittenIsReportedAndTheChangeKept) {
    Editors e;
    std::string blocker = e.env.folder() + "not-a-folder";
    std::ofstream(blocker) << "x";
    e.ctx().dataFolder = blocker + "/";
    e.env.ui.whenShown("UpdateDlog", [](Form& form) {
        form.control("Label1").userSetText("SPRINGFIELD MA 010");
        form.control("OKBtn").userClick(); // the label file fails: no chart editor
        form.control("revertbtn").userClick();
        form.control("CancelBtn").userClick();
    });
    e.click("EditSCFSacks");
    EXPECT_EQ(e.ctx().lists.scfLabels[1], "SPRINGFIELD MA 010");
    ASSERT_EQ(e.env.ui.messages().size(), 1u);
    EXPECT_EQ(
        e.env.ui.messages()[0].text.rfind("Cannot create file \"" + blocker + "/scflist.dat\"", 0),
        0u)
        << e.env.ui.messages()[0].text;
    EXPECT_TRUE(e.env.ui.unexpected().empty());

    // The chart editor closes all the same and the program keeps the edited chart.
    e.env.ui.clearRecords();
    e.env.ui.whenShown("EditZipsDlog", [](Form& form) {
        form.control("ZipList").userSetText("014, 015");
        form.control("OKBtn").userClick();
    });
    e.program.editZipsDlog().editLabel(3, 2);
    ASSERT_EQ(e.env.ui.messages().size(), 1u);
    EXPECT_EQ(
        e.env.ui.messages()[0].text.rfind("Cannot create file \"" + blocker + "/scfchrt.dat\"", 0),
        0u);
    EXPECT_EQ(prefixesHolding(e.ctx().lists.scfChart, 2), (std::vector<int>{14, 15}));
    EXPECT_EQ(e.saved("scfchrt.dat")[14], "-2") << "the file is as it was";
}
