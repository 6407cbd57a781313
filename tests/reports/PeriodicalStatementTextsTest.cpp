// Where the Periodicals statement prints its zone table and its three page-1 totals.

#include "reports/PeriodicalStatementTexts.h"
#include "core/postage/StatementPostage.h"
#include "reports/StatementPage.h"
#include "tests/core/postage/PeriodicalFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace quillan;

namespace {

// "x,y text" for right-aligned texts, "x,y <text" for left-aligned ones.
std::vector<std::string> placed(const std::vector<StatementText>& texts) {
    std::vector<std::string> out;
    for (const StatementText& t : texts) {
        char at[32];
        std::snprintf(at, sizeof at, "%g,%g ", t.x, t.y);
        out.push_back(at + std::string(t.align == StatementText::Left ? "<" : "") + t.text +
                      (t.roomAfter.empty() ? "" : " +" + t.roomAfter));
    }
    return out;
}

std::vector<std::string> rowAt(const std::vector<std::string>& all, const std::string& y) {
    std::vector<std::string> row;
    for (const std::string& text : all)
        if (text.find("," + y + " ") != std::string::npos)
            row.push_back(text);
    return row;
}

} // namespace

TEST(PeriodicalStatementTexts, ZoneTableRowsPrintPiecesPoundsAndChargeInTheirColumns) {
    test::PostageFixture fixture;
    test::regularPeriodicals(fixture);
    std::vector<std::string> all =
        placed(zoneTableTexts(computePeriodicalZoneCharges(fixture.mailing())));
    EXPECT_EQ(all.size(), 9u * 5 + 5 + 3 + 2);
    EXPECT_EQ(rowAt(all, "586"), (std::vector<std::string>{"282,586 40", "328,586 5", "378,586 1",
                                                           "478,586 $0.", "481,586 <1500"}));
    EXPECT_EQ(rowAt(all, "619.5"),
              (std::vector<std::string>{"282,619.5 30", "328,619.5 4", "378,619.5 1",
                                        "478,619.5 $0.", "481,619.5 <2000"}));
    EXPECT_EQ(rowAt(all, "677").front(), "282,677 0"); // zone 8
    EXPECT_EQ(rowAt(all, "688"), (std::vector<std::string>{"282,688 95", "328,688 13", "378,688 4",
                                                           "478,688 $1.", "481,688 <0000"}));
    EXPECT_EQ(rowAt(all, "701"),
              (std::vector<std::string>{"328,701 9", "478,701 $1.", "481,701 <3500"}));
    EXPECT_EQ(rowAt(all, "715"), (std::vector<std::string>{"547,715 $2.", "554,715 <3500"}));

    // Zones 3 and 5 sit at 619.5 and 642.5 points: at 72 dpi the halves go to even.
    StatementScale scale = StatementScale::forPrinter(72, 72, {0, 0});
    EXPECT_EQ(scale.deviceY(619.5), 620);
    EXPECT_EQ(scale.deviceY(642.5), 642);
    EXPECT_EQ(rowAt(all, "642.5").size(), 5u);
}

TEST(PeriodicalStatementTexts, NonadvertisingPoundsBelowNothingPrintAsNothing) {
    PeriodicalZoneCharges charges;
    charges.nonadvertisingPounds = -3;
    charges.poundCharge = 1234.5;
    std::vector<std::string> all = placed(zoneTableTexts(charges));
    EXPECT_EQ(rowAt(all, "701").front(), "328,701 0");
    EXPECT_EQ(rowAt(all, "715"), (std::vector<std::string>{"547,715 $1,234.", "554,715 <5000"}));
}

TEST(PeriodicalStatementTexts, TotalsOfTheThreeHandCheckedMailings) {
    auto totalsOf = [](void (*build)(test::PostageFixture&)) {
        test::PostageFixture fixture;
        build(fixture);
        return placed(periodicalTotalTexts(*computeStatementPostage(fixture.mailing()).periodical));
    };
    EXPECT_EQ(
        totalsOf(test::regularPeriodicals),
        (std::vector<std::string>{"578,280 $17.3500", "578,309 $0.0000", "578,338 $17.35 +00"}));
    EXPECT_EQ(
        totalsOf(test::classroomPeriodicals),
        (std::vector<std::string>{"578,280 $7.3715", "578,309 $0.0000", "578,338 $7.37 +00"}));
    EXPECT_EQ(
        totalsOf(test::inCountyPeriodicals),
        (std::vector<std::string>{"578,280 $4.9200", "578,309 $1.1200", "578,338 $6.04 +00"}));
}
