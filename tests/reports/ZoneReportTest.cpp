// The zone report that ends a Periodicals qualification report: a row group per 3-digit
// prefix, its own page numbers, and the zone summary with its check against the running
// total.

#include "tests/reports/QualificationRig.h"

#include <gtest/gtest.h>

using namespace quillan;
using test::DrawnText;
using test::QualificationRig;

namespace {

// The zone report's rows, from its column headings to the rule: each line as its texts
// joined by "|".
std::vector<std::string> zoneRows(const QualificationRig& rig) {
    std::vector<DrawnText> all = rig.texts();
    size_t i = 0;
    while (i < all.size() && all[i].text != "3-Digit Zip Code")
        ++i;
    std::vector<std::string> rows;
    int y = -1;
    for (i += 3; i < all.size() && all[i].text != "Zone Summary"; ++i) {
        if (all[i].y != y)
            rows.emplace_back();
        else
            rows.back() += "|";
        rows.back() += all[i].text;
        y = all[i].y;
    }
    return rows;
}

// A Periodicals mailing with one sack and one group holding the ZIP groups given.
struct ZoneMailing {
    QualificationRig rig{MailClass::PNAF};
    int32_t group;

    explicit ZoneMailing(int32_t pieces) {
        group = rig.group("MA", pieces, rig.container("%ADC NORTH TEXAS TX 75099", "Mixed"));
    }
};

constexpr const char* ZoneChartWarning =
    "WARNING: There is an error in your zone chart. Some zips not found!";

} // namespace

TEST(ZoneReport, PrefixesGetARowGroupEachOnPagesNumberedFromOne) {
    ZoneMailing m(30);
    m.rig.ctx.lists.zoneChart[100] = "5";
    m.rig.ctx.lists.zoneChart[101] = "5";
    m.rig.zip(10001, 10, m.group);
    m.rig.zip(10002, 8, m.group);
    m.rig.zip(10101, 12, m.group);
    m.rig.print();
    EXPECT_EQ(zoneRows(m.rig), (std::vector<std::string>{"100|Zone 5|18", "101|Zone 5|12"}));
    std::optional<DrawnText> title = m.rig.find("Report: USPS Zone Report");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->sheet, 2) << "the zone report begins on a page of its own";
    std::vector<DrawnText> line = m.rig.lineOf("Report: USPS Zone Report");
    EXPECT_EQ(line.back().text, "Page 1");
    EXPECT_EQ(m.rig.job.pagesShown(), (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(m.rig.find("Sort: Periodical Mail, M200"));
    EXPECT_FALSE(m.rig.find(ZoneChartWarning));
}

TEST(ZoneReport, InCountyPiecesShareThePrefixLineAndMissingZonesAreFlagged) {
    ZoneMailing m(16);
    m.rig.ctx.lists.periodicalList[4] = "t";
    m.rig.zip(9001, 6, m.group);      // 090: no zone in the chart
    m.rig.zip(77001, 10, m.group, 3); // 770: zone 4 from Dallas
    m.rig.print();
    EXPECT_EQ(zoneRows(m.rig),
              (std::vector<std::string>{"090|Zone Missing", "770|In-County|3", "Zone 4|7"}));
    // Both summaries count 10 of the 16 pieces printed and say so.
    EXPECT_EQ(m.rig.count(ZoneChartWarning), 2);
    EXPECT_EQ(m.rig.summaryRows("Zone Summary", 1).back(), "*TOTAL Nonauto.=10 !WARNING:");
}

TEST(ZoneReport, EntrySameScfAndAdcCountsTheScfFirst) {
    // Entered at the SCF of 750, which is also its ADC: 750 pieces are "SCF" pieces, the
    // other prefixes of the ADC "ADC" pieces.
    ZoneMailing m(9);
    m.rig.ctx.lists.mailerList[3] = "75001";
    m.rig.ctx.lists.mailerList[4] = "1";
    m.rig.ctx.lists.scfLabels[7] = "NORTH TEXAS TX 75099";
    m.rig.zip(75001, 4, m.group);
    m.rig.zip(75201, 5, m.group);
    m.rig.print();
    std::vector<std::string> rows = zoneRows(m.rig);
    EXPECT_EQ(rows, (std::vector<std::string>{"750|SCF|4", "752|ADC|5"}));
}

TEST(ZoneReport, AMailingWithoutGroupsPrintsNoRowsAndAgreesWithItself) {
    QualificationRig rig(MailClass::PAL);
    rig.print();
    EXPECT_TRUE(rig.find("Report: USPS Zone Report"));
    EXPECT_EQ(zoneRows(rig), std::vector<std::string>{});
    EXPECT_EQ(rig.count("Zone Summary"), 2);
    EXPECT_FALSE(rig.find(ZoneChartWarning)) << "no line printed is a running total of 0";
    EXPECT_TRUE(rig.find("Sort: Periodical Mail, M810"));
}

TEST(ZoneReport, ToPageReachedStopsBeforeTheZoneReport) {
    ZoneMailing m(5);
    m.rig.zip(75201, 5, m.group);
    m.rig.job.to = 1;
    m.rig.print();
    EXPECT_TRUE(m.rig.find("Zone Summary"));
    EXPECT_FALSE(m.rig.find("Report: USPS Zone Report"));
    EXPECT_EQ(m.rig.printer.pageCount(), 1);
}
