// The summary page's description of the mailing: settings, form, form parts and containers.

#include "printouts/SummaryTexts.h"
#include "reports/StatementDigits.h"
#include "tests/printouts/InstructionsRig.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::InstructionsRig;

namespace {

// A mailing of one tray or sack of the class, under mailtype.dat lines set as given.
struct SampleMailing {
    explicit SampleMailing(const std::string& classCode,
                           std::initializer_list<std::pair<long, std::string>> mailType = {})
        : r(classCode) {
        for (const auto& [line, text] : mailType)
            r.mailType(line, text);
        r.rig.filledContainer("DALLAS TX 75201", 10, 75201, "5D 75201");
    }
    const SortedMailing& mailing() { return r.built(); }

    InstructionsRig r;
};

std::string settingsOf(const std::string& classCode,
                       std::initializer_list<std::pair<long, std::string>> mailType) {
    SampleMailing m(classCode, mailType);
    return mailingSettingsLine(m.mailing());
}

} // namespace

TEST(SummaryTexts, SettingsLineDescribesTheMailingAsSorted) {
    EXPECT_EQ(settingsOf("RAL", {}),
              "Automated Standard - Letters - Regular - mm tray (504 pcs. max.) - Minimum weight");
    EXPECT_EQ(settingsOf("RNML", {{2, "2"}, {4, "1"}, {5, "3.5"}, {8, "1"}}),
              "Non-Machinable Standard - Letters - Nonprofit - emm tray (504 pcs. max.) - 3.5 "
              "oz. per pc.");
    // A 5-inch package of flats: the full tray over 4.2 (mm) or 4.35 (emm) pieces an inch,
    // an exact multiple not rounded up.
    EXPECT_EQ(settingsOf("RAF", {{7, "25"}}),
              "Automated Standard - Flats - Regular - 6 pcs. per 5\" pkg. - Minimum weight");
    EXPECT_NE(settingsOf("RAF", {{7, "42"}}).find("- 10 pcs. per 5\""), std::string::npos);
    EXPECT_NE(settingsOf("RAF", {{7, "42"}, {8, "1"}}).find("- 10 pcs."), std::string::npos);
    EXPECT_NE(settingsOf("RAF", {{7, "44"}, {8, "1"}}).find("- 11 pcs."), std::string::npos);
    EXPECT_NE(settingsOf("FAL", {{2, "1"}}).find(" - Card - "), std::string::npos);

    SampleMailing periodicals("PAF");
    periodicals.r.ctx().lists.mailerList[4] = "2";
    periodicals.r.periodical(2, "20");
    periodicals.r.periodical(3, "3");
    periodicals.r.periodical(4, "t");
    periodicals.r.periodical(6, "24");
    const SortedMailing& mailing = periodicals.mailing();
    EXPECT_EQ(originLine(mailing), "Originating Zip: 75201 - DADC entry - Advert.: 20% - min. 24 "
                                   "pc./sack - In-County Rates");
    EXPECT_NE(mailingSettingsLine(mailing).find("Periodicals - Flats - Sci. of Ag."),
              std::string::npos);
    SampleMailing standard("RAL");
    standard.r.ctx().lists.mailerList[4] = "2";
    EXPECT_EQ(originLine(standard.mailing()), "Originating Zip: 75201 - DBMC entry");
}

TEST(SummaryTexts, FormAndFormPartFollowClassRatesAndWeight) {
    struct Case {
        const char* classCode;
        std::initializer_list<std::pair<long, std::string>> mailType;
        const char* form;
        const char* part;
    };
    const Case cases[] = {
        {"RNML", {}, "3602-RS", "E."},
        {"RNML", {{2, "2"}}, "3602-NS", "E."},
        {"RNML", {{4, "1"}, {5, "3.5"}}, "3602-R.", "D."},
        {"RAL", {{4, "1"}, {5, "3.5"}}, "3602-HR", "J."},
        {"RAL", {{2, "2"}, {4, "1"}, {5, "3.5"}}, "3602-NHR", "J."},
        {"RAL", {{4, "1"}, {5, "3.3"}}, "3602-R.", "A."},
        {"RAF", {}, "3602-R.", "A."},
        {"RNAF", {{2, "2"}}, "3602-N.", "B."},
        {"RML", {{4, "1"}, {5, "3.4"}}, "3602-R.", "D."},
        {"RCOF", {}, "3602-R.", "A and B."},
        // Both parts also with an exact weight up to 3.3 oz.
        {"RCOF", {{4, "1"}, {5, "2"}}, "3602-R.", "A and B."},
        {"RCOF", {{4, "1"}, {5, "4"}}, "3602-R.", "D."},
        {"FAL", {{4, "1"}, {5, "3.5"}}, "3600-R", "A."},
        {"FAL", {{2, "1"}}, "3600-R", "D."},
        {"PAL", {}, "3541a", "B."},
    };
    for (const Case& c : cases) {
        SampleMailing m(c.classCode, c.mailType);
        const SortedMailing& mailing = m.mailing();
        SCOPED_TRACE(c.classCode);
        EXPECT_NE(formLine(mailing).find(c.form), std::string::npos) << formLine(mailing);
        EXPECT_EQ(formPart(mailing), c.part);
    }
    EXPECT_EQ(processingCategory(MailClass::PCOF), "Flats and Automation Flats (DMM C820)");
    EXPECT_EQ(processingCategory(MailClass::PNAL), "Letters");
}

TEST(SummaryTexts, SackingBasisWeightsAndContainers) {
    EXPECT_EQ(sackingBasis(SampleMailing("RNAF", {{4, "1"}, {5, "1.92"}}).mailing()), "125 Pcs.");
    EXPECT_EQ(sackingBasis(SampleMailing("RNAF", {{4, "1"}, {5, "1.93"}}).mailing()), "15 Lbs.");
    EXPECT_EQ(sackingBasis(SampleMailing("RCOF", {{4, "0"}, {5, "3"}}).mailing()), "125 Pcs.");
    EXPECT_EQ(sackingBasis(SampleMailing("RAL").mailing()), "(leave blank - not a sacked mailing)");

    EXPECT_EQ(totalWeightText(218.75), "218.75");
    EXPECT_EQ(totalWeightText(2187.54), "2187.5");
    EXPECT_EQ(totalWeightText(31250), "31250");
    EXPECT_EQ(totalWeightText(156250), "156250") << "never in exponent form";
    EXPECT_EQ(totalWeightText(0.0625), "0.0625");
    EXPECT_EQ(copyWeightText(3.5), "0.2188");
    EXPECT_EQ(copyWeightText(2.5), "0.1563") << "as the statement's weight boxes show 0.15625";
    EXPECT_EQ(copyWeightText(2), "0.1250");

    // A tray of up to 10.25 / 21 of the full count goes in a one-foot tray.
    InstructionsRig letters("RAL");
    letters.mailType(7, "21");
    letters.rig.filledContainer("DALLAS TX 75201", 10, 75201, "5D 75201");
    letters.rig.filledContainer("DALLAS TX 75202", 11, 75202, "5D 75202");
    ContainersLine line = containersLine(letters.built());
    EXPECT_EQ(line.count, "Number of Containers: 2");
    EXPECT_EQ(line.trays, "(1-Ft MM Trays: 1      2-Ft MM Trays: 1)");
    letters.mailType(8, "1");
    EXPECT_EQ(containersLine(letters.built()).count, "Number of Containers: 2 2-Ft EMM Trays");
    EXPECT_EQ(containersLine(SampleMailing("RNAF").mailing()).count,
              "Number of Containers: 1 Sacks");
}
