// The tag-font and statement information dialogs through their menu entries: what they
// show, what they refuse, and what reaches fonts.dat and statement.dat.

#include "app/Program.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct SettingsProgram {
    SettingsProgram() : program(env.context()) {}
    void load() {
        env.load();
        env.ui.clearRecords();
    }
    void click(const std::string& entry) {
        program.mainWindow().form().findMenuItem(entry)->onClick();
    }
    std::vector<std::string> saved(const std::string& file) const {
        return SettingsList::splitLines(env.readTable(file));
    }

    test::TestEnvironment env;
    Program program;
};

const char* const SizeBoxes[] = {"trayleftfont", "trayrightfont", "traybtmfont", "sackleftfont",
                                 "sackrightfont"};

} // namespace

TEST(TagFonts, RefusesSizesThatAreNotWholeNumbersAboveZero) {
    SettingsProgram p;
    p.load();
    auto& ui = p.env.ui;
    ui.whenShown("LabelFontsDlg", [](Form& form) {
        EXPECT_EQ(form.caption(), "Label Fonts");
        const auto& select = form.control("FontSelect");
        EXPECT_EQ(select.items(),
                  (std::vector<std::string>{"Arial", "Courier New", "Liberation Sans",
                                            "Liberation Serif", "Times New Roman"}));
        EXPECT_EQ(select.itemIndex(), 2) << "the stored font is chosen";
        std::vector<std::string> shown;
        for (const char* box : SizeBoxes)
            shown.push_back(form.control(box).text());
        EXPECT_EQ(shown, (std::vector<std::string>{"12", "12", "10", "10", "10"}));
        for (std::string bad : {"0", "", "1a", "00", "-5", "99999999999"}) {
            form.control("sackrightfont").userSetText(bad);
            form.control("OKBtn").userClick();
            EXPECT_EQ(form.modalResult(), ModalResult::None) << bad;
        }
        form.control("sackrightfont").userSetText("010");
        form.control("traybtmfont").userSetText("9");
        form.control("FontSelect").userSetItemIndex(4);
        form.control("OKBtn").userClick();
    });
    p.click("TrayBagTagFonts1");
    ASSERT_EQ(ui.messages().size(), 6u);
    for (const auto& m : ui.messages()) {
        EXPECT_EQ(m.text, "Each font size must have a numeric value greater than zero.");
        EXPECT_EQ(m.kind, MessageKind::Warning);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(ui.beeps(), std::vector<BeepKind>(6, BeepKind::Exclamation));
    EXPECT_TRUE(ui.unexpected().empty());
    EXPECT_EQ(p.saved("fonts.dat"),
              (std::vector<std::string>{"", "Times New Roman", "12", "12", "9", "10", "010"}));
}

TEST(TagFonts, UnknownStoredFontShowsTheFirstAndCancelStoresNothing) {
    SettingsProgram p;
    p.env.writeTable("fonts.dat", "x\r\nWingdings 9\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
    p.load();
    auto& ui = p.env.ui;
    ui.whenShown("LabelFontsDlg", [](Form& form) {
        EXPECT_EQ(form.control("FontSelect").itemIndex(), 0);
        form.control("trayleftfont").userSetText("44");
        form.control("CancelBtn").userClick();
    });
    ui.pressWhenShown("LabelFontsDlg", "OKBtn");
    p.click("TrayBagTagFonts1");
    EXPECT_EQ(p.env.readTable("fonts.dat"), "x\r\nWingdings 9\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
    p.click("TrayBagTagFonts1");
    EXPECT_EQ(p.saved("fonts.dat"),
              (std::vector<std::string>{"x", "Arial", "1", "2", "3", "4", "5"}));
}

TEST(StatementInformation, PadsTheCassDateAndStoresEveryLine) {
    SettingsProgram p;
    p.load();
    auto& ui = p.env.ui;
    ui.whenShown("formdata", [](Form& form) {
        EXPECT_EQ(form.caption(), "Postage Statement Information");
        EXPECT_TRUE(form.control("later").visible());
        EXPECT_EQ(form.control("holder1").text(), "SAMPLE MAILING COMPANY");
        EXPECT_EQ(form.control("imprint").itemIndex(), 0);
        EXPECT_EQ(form.control("imprint").items(),
                  (std::vector<std::string>{"permit imprint      ", "meter", "stamps"}));
        form.control("holderp").userSetText("214-555-0199");
        form.control("imprint").userSetItemIndex(1);
        form.control("permit").userSetText("1234");
        form.control("affixed").userSetItemIndex(1);
        form.control("cassmonth").userSetText("7");
        form.control("cassday").userSetText("");
        form.control("cassyr").userSetText("03");
        form.control("mailname").userSetText("PAT SMITH");
        form.control("mailphone").userSetText("214-555-0100");
        form.control("OKBtn").userClick();
    });
    ui.whenShown("formdata", [](Form& form) {
        EXPECT_EQ(form.control("cassmonth").text(), "07");
        EXPECT_EQ(form.control("cassday").text(), "00");
        EXPECT_EQ(form.control("imprint").itemIndex(), 1);
        form.control("office").userSetText("FORT WORTH");
        form.control("CancelBtn").userClick();
    });
    p.click("StatementInformation1");
    std::vector<std::string> expected = {"",
                                         "SAMPLE MAILING COMPANY",
                                         "100 MAIN ST",
                                         "DALLAS TX 75201",
                                         "214-555-0199",
                                         "DALLAS",
                                         "1",
                                         "1234",
                                         "1",
                                         "07",
                                         "00",
                                         "03",
                                         "PAT SMITH",
                                         "214-555-0100"};
    EXPECT_EQ(p.saved("statement.dat"), expected);
    p.click("StatementInformation1");
    EXPECT_EQ(p.saved("statement.dat"), expected) << "Cancel stores nothing";
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.unexpected().empty());
}

TEST(StatementInformation, AShortFileIsAnErrorNotACrash) {
    SettingsProgram p;
    p.env.writeTable("statement.dat", "\r\nA\r\nB\r\n");
    p.load();
    p.click("StatementInformation1");
    ASSERT_EQ(p.env.ui.messages().size(), 1u);
    EXPECT_EQ(p.env.ui.messages()[0].kind, MessageKind::Error);
    EXPECT_NE(p.env.ui.messages()[0].text.find("statement.dat is damaged: it has no line"),
              std::string::npos);
    EXPECT_TRUE(p.env.ui.formLog().empty());
}
