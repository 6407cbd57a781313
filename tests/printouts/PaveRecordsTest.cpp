// PAVE records of the pieces of a sort, column by column.

#include "printouts/PaveRecords.h"
#include "tests/printouts/TagRig.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::TagRig;

namespace {

std::string padded(const std::string& text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

// Columns 116-122 (rate level) and 129-158 (endorsement) of every record.
std::vector<std::string> rateLevels(const std::vector<std::string>& records) {
    std::vector<std::string> out;
    for (const std::string& r : records)
        out.push_back(r.substr(115, 7));
    return out;
}

} // namespace

TEST(PaveRecords, AFiveDigitPackageColumnByColumn) {
    TagRig r("RNML");
    int32_t tray = r.container("CITY ST 12345", 2, "3/5-Digit");
    r.zip(12345, 2, r.group("5D 12345", 2, tray));
    std::vector<std::string> records = MakePaveRecords(r.mailing());
    ASSERT_EQ(records.size(), 2u);
    std::string expected = "000001"                          // 1-6 tray
                           "     "                           // 7-11 no labelling list
                           + padded("CITY ST 12345", 43)     // 12-54
                           + "1 5DG 12345"                   // 55-65 1-foot tray, level, ZIP
                           + "60407"                         // 66-70 content, processing
                           + padded("STD LTR 5D MANUAL", 30) // 71-100
                           + "0000015DG 12345"               // 101-115 package
                           + "3/5    "                       // 116-122 rate level
                           + "   N"                          // 123-126 no zone, no entry
                           + "AH"                            // 127-128
                           + padded("5-DIGIT 12345", 30)     // 129-158
                           + "  0000002";                    // 159-167
    EXPECT_EQ(records[0], expected);
    EXPECT_EQ(records[1], expected.substr(0, 160) + "0000003");
}

TEST(PaveRecords, FieldsArePaddedAndCutToTheirColumns) {
    TagRig r("RNML");
    int32_t area = r.container("SPRINGFIELD MA 123", 3, "3/5-Digit", "DSCF");
    r.zip(12301, 3, r.group("3D 123", 3, area));
    int32_t longName = r.container(
        "A CITY WHOSE NAME RUNS ON FAR LONGER THAN ITS COLUMNS ST 12345*AND A SECOND LINE THAT "
        "IS LONGER TOO**THIRD",
        1);
    r.zip(12345, 1, r.group("5D 12345", 1, longName));
    std::vector<std::string> records = MakePaveRecords(r.mailing());
    ASSERT_EQ(records.size(), 4u);
    for (const std::string& record : records)
        EXPECT_EQ(record.size(), PaveRecordLength);
    EXPECT_EQ(records[0].substr(60, 10), "123  60607") << "3-digit ZIP and content number";
    EXPECT_EQ(records[0].substr(6, 5), "L002A");
    EXPECT_EQ(records[0][125], 'S') << "DSCF entry";
    EXPECT_EQ(records[3].substr(11, 43), "A CITY WHOSE NAME RUNS ON FAR LONGER THAN I");
    EXPECT_EQ(records[3].substr(70, 30), "STD LTR 5D MANUAL AND A SECOND");
    EXPECT_EQ(records[3].substr(100, 15), "0000025DG 12345") << "the second package";
    EXPECT_EQ(records[3].substr(160), "0000005");
}

TEST(PaveRecords, PackagesChangeTheRateLevelOfCoSackedAndMixedFlats) {
    TagRig cosacked("RCOF");
    int32_t mixed = cosacked.container("%MXD NORTH TEXAS TX 75099", 10, "Mixed");
    cosacked.zip(75301, 10, cosacked.group("MA", 10, mixed, true));
    int32_t five = cosacked.container("CITY ST 12345", 130, "3/5-Digit");
    cosacked.zip(-12345, 126, cosacked.group("5D 12345", 126, five, true));
    cosacked.zip(12345, 4, cosacked.group("5D 12345", 4, five));
    std::vector<std::string> records = MakePaveRecords(cosacked.mailing());
    ASSERT_EQ(records.size(), 140u);
    EXPECT_EQ(records[0].substr(100, 15), "000001MADCADC N") << "the ADC of the mailer's area";
    EXPECT_EQ(records[0].substr(128, 30), "MIXED ADC ADC NORTH TEXAS TX 7");
    EXPECT_EQ(records[0].substr(115, 7), "BS     ");
    EXPECT_EQ(records[10].substr(115, 7), "3/5    ") << "nonbarcoded, 130 >= 125 pieces";
    EXPECT_EQ(records[139].substr(115, 7), "3/5B   ") << "barcoded 5-digit package";
    EXPECT_EQ(records[139].substr(126, 2), "BE");

    TagRig periodicals("PCOF");
    int32_t area = periodicals.container("CITY ST 123", 8, "3-Digit");
    periodicals.zip(-12301, 8, periodicals.group("3D 123", 8, area, true));
    EXPECT_EQ(rateLevels(MakePaveRecords(periodicals.mailing())).front(), "3D     ");

    TagRig automation("RAF");
    int32_t sack = automation.container("%MXD DALLAS TX 75199", 5, "Mixed");
    automation.zip(12301, 5, automation.group("3D 123", 5, sack));
    EXPECT_EQ(rateLevels(MakePaveRecords(automation.mailing())).front(), "3B     ");
}

TEST(PaveRecords, PeriodicalsPiecesCarryInCountyOrTheirZone) {
    TagRig r("PAL");
    r.ctx.lists.periodicalList[4] = "t";
    int32_t tray = r.container("DALLAS TX 75201", 5);
    r.zip(75201, 5, r.group("5D 75201", 5, tray), 2);
    std::vector<std::string> records = MakePaveRecords(r.mailing());
    ASSERT_EQ(records.size(), 5u);
    std::vector<std::string> zones;
    for (const std::string& record : records)
        zones.push_back(record.substr(122, 3));
    EXPECT_EQ(zones, (std::vector<std::string>{"IC ", "IC ", "1  ", "1  ", "1  "}));
    r.ctx.lists.mailerList[4] = "1"; // entered at the SCF that serves 752
    EXPECT_EQ(MakePaveRecords(r.mailing())[4].substr(122, 3), "SCF");
    EXPECT_EQ(records[0].substr(100, 15), std::string(15, ' ')) << "letters have no packages";
    EXPECT_EQ(records[0].substr(128, 30), std::string(30, ' '));
    EXPECT_EQ(records[0].substr(115, 7), "5B     ");
}
