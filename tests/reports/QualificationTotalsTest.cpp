// Whole mailings, their TOTALS rows, rate summaries and zone summaries, each worked out by
// hand from the trays and groups (two of them the presort's own sort-result files).

#include "core/SortResults.h"
#include "reports/QualificationReport.h"
#include "tests/reports/QualificationRig.h"
#include "tests/support/MailingOf.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace quillan;
using test::DrawnText;
using test::QualificationRig;

namespace {

// The TOTALS row as "x=figure" for every figure on it.
std::vector<std::string> totalsRow(const QualificationRig& rig) {
    std::vector<std::string> row;
    for (const DrawnText& t : rig.lineOf("TOTALS"))
        if (t.text != "TOTALS")
            row.push_back(std::to_string(t.right) + "=" + t.text);
    return row;
}

void loadSortResult(QualificationRig& rig, const std::string& fixture) {
    std::filesystem::copy_file(test::fixturePath("presort/" + fixture), rig.ctx.sortResultPath(),
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(test::loadSortResults(rig.work, rig.ctx));
}

} // namespace

TEST(QualificationTotals, StandardMachinableLettersEnteredAtTheBmc) {
    QualificationRig rig(MailClass::RML);
    rig.ctx.lists.mailTypeList[6] = "120";
    rig.ctx.lists.mailTypeList[8] = "1";
    rig.ctx.lists.mailerList[4] = "2";
    loadSortResult(rig, "rml-bmc-entry.qlPrint");
    SortedMailing mailing = test::mailingOf(rig.work, rig.ctx.lists);
    PrintQualificationReport(rig.session, mailing);
    // 168 pieces are too few for presort rates.
    EXPECT_TRUE(rig.find(
        "THIS REPORT FOR DEMONSTRATION PURPOSES ONLY. - TOO FEW PIECES FOR PRESORT RATES."));
    std::vector<std::string> lines;
    for (int y : {204, 218, 232})
        lines.push_back(rig.textEndingAt(162, y) + " " + rig.textEndingAt(216, y) + " " +
                        rig.textEndingAt(270, y));
    EXPECT_EQ(lines,
              (std::vector<std::string>{"5DG 01234 01234", "3DG 012 012", "MAAD 75199 A75099"}));
    EXPECT_EQ(totalsRow(rig), (std::vector<std::string>{"450=160", "486=8", "540=168"}));
    EXPECT_EQ(
        rig.summaryRows("Rate Summary"),
        (std::vector<std::string>{"3/5-Digit (3/5)=160", "Basic (BS)=8_", "*TOTAL Nonauto.=168"}));
}

TEST(QualificationTotals, StandardAutomationLettersWithSchemeAndAadcTrays) {
    QualificationRig rig(MailClass::RAL);
    loadSortResult(rig, "ral-scheme-aadc.qlPrint");
    SortedMailing mailing = test::mailingOf(rig.work, rig.ctx.lists);
    PrintQualificationReport(rig.session, mailing);
    std::vector<std::string> trays;
    for (int y : {176, 190, 218})
        trays.push_back(rig.textEndingAt(54, y) + " " + rig.textEndingAt(162, y) + " " +
                        rig.textEndingAt(216, y));
    EXPECT_EQ(trays, (std::vector<std::string>{"1 3DGS 752", "2 AADC 140", "3 MAAD 75099"}));
    EXPECT_EQ(totalsRow(rig),
              (std::vector<std::string>{"378=0", "414=0", "450=180", "486=230", "540=410"}));
    EXPECT_EQ(
        rig.summaryRows("Rate Summary"),
        (std::vector<std::string>{"Automation 5-Digit (5B)=0", "Automation 3-Digit (3B)=0",
                                  "Automation AADC (AB)=180", "Automation Mixed AADC (MB)=230_",
                                  "*TOTAL Automation=410"}));
}

TEST(QualificationTotals, PeriodicalsAutomationFlatsWithTheirZones) {
    QualificationRig rig(MailClass::PAF);
    rig.ctx.lists.periodicalList[4] = "t";
    int32_t five = rig.container("DALLAS TX 75201", "5-Digit");
    int32_t three = rig.container("DALLAS TX 752", "3-Digit");
    int32_t mixed = rig.container("%ADC NORTH TEXAS TX 75099", "Mixed");
    int32_t g75201 = rig.group("5D 75201", 24, five);
    int32_t g75202 = rig.group("5D 75202", 5, three);
    int32_t g752 = rig.group("3D 752", 8, three);
    int32_t g75205 = rig.group("5D 75205", 7, three);
    int32_t ma = rig.group("MA", 3, mixed);
    int32_t adc = rig.group("AD 5", 12, mixed);
    rig.zip(1234, 3, ma);
    rig.zip(75001, 12, adc);
    rig.zip(75201, 24, g75201, 4);
    rig.zip(75202, 5, g75202);
    rig.zip(75205, 7, g75205);
    rig.zip(75210, 8, g752);
    rig.print();
    // 5B: 24 + 7; 3B: 8; BB: 5 (too few for a package) + 3 + 12 (mixed sack).
    EXPECT_EQ(totalsRow(rig), (std::vector<std::string>{"414=31", "450=8", "486=20", "540=59"}));
    EXPECT_EQ(rig.summaryRows("Rate Summary"),
              (std::vector<std::string>{"Automation 5-Digit (5B)=31", "Automation 3-Digit (3B)=8",
                                        "Automation Basic (BB)=20_", "*TOTAL Automation=59"}));
    EXPECT_EQ(rig.textEndingAt(378, 176), "IC/1-2");
    EXPECT_EQ(rig.textEndingAt(378, 232), "7");
    // Zones from Dallas: 750 in zone 2, 752 in zone 1, 012 in zone 7; 4 in-county.
    std::vector<std::string> zones = {"In-County=4",
                                      "SCF=0",
                                      "ADC=0",
                                      "Zones 1&2=52",
                                      "Zone 3=0",
                                      "Zone 4=0",
                                      "Zone 5=0",
                                      "Zone 6=0",
                                      "Zone 7=3",
                                      "Zone 8=0_",
                                      "*TOTAL Automation=59"};
    EXPECT_EQ(rig.summaryRows("Zone Summary", 0), zones);
    EXPECT_EQ(rig.summaryRows("Zone Summary", 1), zones);
}

TEST(QualificationTotals, PeriodicalsCoSackedFlatsCountBothKindsOfPieces) {
    QualificationRig rig(MailClass::PCOF);
    int32_t five = rig.container("DALLAS TX 75201", "5-Digit");
    int32_t three = rig.container("DALLAS TX 752", "3-Digit");
    int32_t mixed = rig.container("%ADC NORTH TEXAS TX 75099", "Mixed");
    int32_t origin = rig.container("SPRINGFIELD MA 012", "Mixed");
    int32_t barcoded5 = rig.group("5D 75201", 20, five);
    int32_t plain5 = rig.group("5D 75201", 9, five, true);
    int32_t barcoded3 = rig.group("3D 752", 5, three);
    int32_t plain3 = rig.group("3D 752", 7, three, true);
    int32_t barcoded75202 = rig.group("5D 75202", 6, three);
    int32_t barcodedMixed = rig.group("MA", 4, mixed);
    int32_t plainMixed = rig.group("MA", 3, mixed, true);
    int32_t plain012 = rig.group("3D 012", 8, origin, true);
    rig.zip(-1234, 8, plain012);
    rig.zip(1235, 4, barcodedMixed);
    rig.zip(-1236, 3, plainMixed);
    rig.zip(75201, 20, barcoded5);
    rig.zip(-75201, 9, plain5);
    rig.zip(75202, 6, barcoded75202);
    rig.zip(75210, 5, barcoded3);
    rig.zip(-75210, 7, plain3);
    rig.print();
    // Barcoded: 5B 20 + 6, BB 5 (too few) + 4 (mixed). Nonbarcoded: 5D 9 (5-digit sack),
    // 3D 7 + 8 (3-digit sacks, one of the mixed level), BS 3 (mixed sack).
    EXPECT_EQ(totalsRow(rig), (std::vector<std::string>{"306=26", "342=0", "378=9", "414=9",
                                                        "450=15", "486=3", "540=62"}));
    EXPECT_EQ(rig.summaryRows("Rate Summary"),
              (std::vector<std::string>{"Automation 5-Digit (5B)=26", "Automation 3-Digit (3B)=0",
                                        "Automation Basic (BB)=9_", "*TOTAL Automation=35",
                                        "Nonauto 5-Digit (5D)=9", "Nonauto 3-Digit (3D)=15",
                                        "Nonauto Basic (BS)=3_", "*TOTAL Nonauto=27_",
                                        "*TOTAL Co-Sacked=62"}));
    EXPECT_EQ(rig.summaryRows("Zone Summary", 1).back(), "*TOTAL Co-Sacked=62");
    EXPECT_EQ(rig.summaryRows("Zone Summary", 1)[8], "Zone 7=15");
}
