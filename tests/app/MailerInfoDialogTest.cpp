#include "app/MailerInfoDialog.h"
#include "app/DialogPage.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace platform;

namespace {

struct MailerDlg {
    test::TestEnvironment env{test::geographyFolder()};
    std::unique_ptr<MailerInfoDialog> dialog;

    MailerDlg() {
        env.load();
        dialog = std::make_unique<MailerInfoDialog>(env.context());
    }
    std::vector<std::string> file() const {
        return SettingsList::splitLines(env.readTable("mailer.dat"));
    }
    // The two computed captions after the ZIP is typed.
    std::pair<std::string, std::string> captionsFor(const std::string& zip) {
        std::pair<std::string, std::string> captions;
        env.ui.whenShown("MlrInfoDlog", [&](Form& f) {
            f.control("MlrZip").userSetText(zip);
            captions = {f.control("MlrSend").items()[1], f.control("MlrSend").items()[2]};
            f.control("CancelBtn").userClick();
        });
        dialog->EditMailerInfo(0);
        return captions;
    }
};

} // namespace

TEST(MailerInfoDialog, CaptionsNameTheOfficesServingTheZip) {
    using Captions = std::pair<std::string, std::string>;
    MailerDlg d;
    SettingsLists& lists = d.env.context().lists;
    lists.dbmcLabels[5] = "BMC NORTH 12345"; // the DBMC of prefix 752
    EXPECT_EQ(d.captionsFor("75201"), (Captions{"DALLAS TX  SCF", "NORTH  BMC"}));
    EXPECT_EQ(d.captionsFor("14001"), (Captions{"BUFFALO NY  SCF", "BUFFALO NY Y  ASF"}));
    EXPECT_EQ(d.captionsFor("09012"), (Captions{"APO AE  SCF", "No dbmc discount for 09012."}));
    EXPECT_EQ(d.captionsFor("20001"), (Captions{"20001 does not exist.", ""}));
    EXPECT_EQ(d.captionsFor("00050"), (Captions{"00050 does not exist.", ""}));

    lists.mailTypeList[1] = "5";
    EXPECT_EQ(d.captionsFor("75201"), (Captions{"DALLAS TX  SCF", "NORTH TEXAS TX  ADC"}));
    EXPECT_EQ(d.captionsFor("09012"), (Captions{"APO AE  SCF", "No adc discount for 09012."}));
    lists.mailTypeList[1] = "6";
    lists.mailTypeList[3] = "0";
    EXPECT_EQ(d.captionsFor("75201"), (Captions{"DALLAS TX  SCF", "NORTH TEXAS TX  AADC"}));
    lists.aadcLabels[5] = "DALLAS TX 752";
    EXPECT_EQ(d.captionsFor("75201"), (Captions{"DALLAS TX  SCF", "DALLAS TX  AADC"}));
    lists.mailTypeList[3] = "1";
    lists.adcLabels[5] = "DALLAS TX 752";
    EXPECT_EQ(d.captionsFor("75201"), (Captions{"DALLAS TX  SCF", "DALLAS TX  ADC"}));
}

TEST(MailerInfoDialog, IncompleteZipLeavesTheCaptionsAloneAndCancelStoresNothing) {
    MailerDlg d;
    auto before = d.file();
    d.env.ui.whenShown("MlrInfoDlog", [](Form& f) {
        f.control("MlrCity").userSetText("PLANO");
        auto before = f.control("MlrSend").items();
        EXPECT_EQ(before[1], "DALLAS TX  SCF");
        f.control("MlrSend").userSetItemIndex(2);
        f.control("MlrZip").userSetText("12a45");
        EXPECT_EQ(f.control("MlrSend").items(), before);
        f.control("MlrZip").userSetText("20001");
        EXPECT_EQ(f.control("MlrSend").itemIndex(), 2) << "the choice is kept";
        f.control("CancelBtn").userClick();
    });
    EXPECT_EQ(d.dialog->EditMailerInfo(0), 0);
    EXPECT_EQ(d.file(), before);
    EXPECT_EQ(d.env.context().lists.mailerList.lines(), before);
}

TEST(MailerInfoDialog, ZipWithoutFiveDigitsIsRefused) {
    for (const char* zip : {"1234", "12a45", "", "7520 "}) {
        SCOPED_TRACE(zip);
        MailerDlg d;
        auto before = d.file();
        d.env.ui.whenShown("MlrInfoDlog", [zip](Form& f) {
            f.control("MlrCity").userSetText("PLANO");
            f.control("MlrZip").userSetText(zip);
            f.control("okbtn").userClick();
        });
        d.env.ui.pressWhenShown("MlrInfoDlog", "CancelBtn");
        EXPECT_EQ(d.dialog->EditMailerInfo(0), 0);
        ASSERT_EQ(d.env.ui.messages().size(), 1u);
        EXPECT_EQ(d.env.ui.messages()[0].text, "The zip code must have all 5 digits.");
        EXPECT_EQ(d.env.ui.messages()[0].kind, MessageKind::Warning);
        EXPECT_EQ(d.env.ui.messages()[0].over, "MlrInfoDlog") << "over the page, still open";
        EXPECT_EQ(d.env.ui.formLog(), std::vector<std::string>{"modal MlrInfoDlog"});
        EXPECT_EQ(d.env.ui.beeps(), std::vector<BeepKind>{BeepKind::Exclamation});
        EXPECT_EQ(d.file(), before);
        EXPECT_EQ(d.env.context().lists.mailerList.lines(), before);
    }
}

TEST(MailerInfoDialog, NextAndBackStoreEveryLine) {
    for (const char* button : {"nextBtn", "backBtn"}) {
        SCOPED_TRACE(button);
        MailerDlg d;
        d.env.ui.whenShown("MlrInfoDlog", [button](Form& f) {
            EXPECT_FALSE(f.control("okbtn").visible());
            f.control("MlrCity").userSetText("BUFFALO");
            f.control("MlrState").userSetText("NY");
            f.control("MlrZip").userSetText("14001");
            f.control("MlrSend").userSetItemIndex(1);
            f.control("MlrCompany").userSetText("ACME");
            f.control("MlrID").userSetText("ID-7");
            f.control("MlrPubName").userSetText("WEEKLY");
            f.control(button).userClick();
        });
        int expected = std::string(button) == "backBtn" ? -1 : 1;
        EXPECT_EQ(d.dialog->EditMailerInfo(1), expected);
        std::vector<std::string> lines = {"",  "BUFFALO", "NY",   "14001",
                                          "1", "ACME",    "ID-7", "WEEKLY"};
        EXPECT_EQ(d.file(), lines);
        EXPECT_EQ(d.env.context().lists.mailerList.lines(), lines);
    }
}

TEST(MailerInfoDialog, BrokenChartIsReportedAndTheDialogStaysUsable) {
    MailerDlg d;
    d.env.context().lists.scfChart[140] = "x";
    d.env.ui.whenShown("MlrInfoDlog", [](Form& f) {
        f.control("MlrZip").userSetText("14001");
        f.control("okbtn").userClick();
    });
    EXPECT_EQ(d.dialog->EditMailerInfo(0), 1);
    ASSERT_EQ(d.env.ui.messages().size(), 1u);
    EXPECT_EQ(d.env.ui.messages()[0].text,
              "Quillan's own file scfchrt.dat is damaged: line 140 is not a number ('x'). Put "
              "back the file as it came with Quillan.");
    EXPECT_EQ(d.file()[3], "14001");
}
