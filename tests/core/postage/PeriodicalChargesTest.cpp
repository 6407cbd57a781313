// The Periodicals statement lines after the piece rates, for three mailings worked out by
// hand (the fixtures say what they hold; the comments here show the sums).

#include "core/money/Money.h"
#include "core/postage/StatementPostage.h"
#include "tests/core/postage/PeriodicalFixtures.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

class PeriodicalChargeLines : public ::testing::Test {
protected:
    // "quantity | amount" of every line.
    std::vector<std::string> linesOf(const StatementPostage& postage) {
        std::vector<std::string> lines;
        for (const StatementLine& line : postage.lines.lines())
            lines.push_back(line.quantity + " | " + line.amount);
        return lines;
    }

    test::PostageFixture fixture;
};

// The lines every class shares from the in-county pieces on, when none are in-county.
const std::vector<std::string> NoInCountyLines = {
    "0 | ", "0 | $0.0000", "0 | $0.0000", "0 | $0.0000", "0 | $0.0000",
    "0 | ", "0 | ",        "0 | ",        "0 | $0.0000", " | $0.0000"};

std::vector<std::string> joined(std::vector<std::string> lines,
                                const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

} // namespace

TEST_F(PeriodicalChargeLines, RegularPublicationPaysAdvertisingPoundsAndNoReduction) {
    test::regularPeriodicals(fixture);
    StatementPostage postage = computeStatementPostage(fixture.mailing());
    // Pieces 25 x 0.300 + 30 x 0.250 + 40 x 0.200 = 23.00. Nonadvertising 80 % of 95
    // pieces at 0.001 = 7.60; 40 pieces in the SCF at 0.010 = 0.40; together 8.00, leaving
    // 15.00. Pounds (table test): advertising 1.00, nonadvertising 9 x 0.150 = 1.35.
    EXPECT_EQ(linesOf(postage),
              joined({"25 | 7.5000", "30 | 7.5000", "40 | 8.0000", " | ", " | ", " | ",
                      "95 | $23.0000", "80.00 | $7.6000", "40 | $0.4000", "0 | $0.0000",
                      " | $8.0000", " | $15.0000", " | $17.3500", " | ", " | $0.00", " | $17.3500"},
                     NoInCountyLines));
    EXPECT_DOUBLE_EQ(postage.total, 17.35);
    EXPECT_EQ(currencyTotalText(postage.periodical->totalPostage), "$17.35");
}

TEST_F(PeriodicalChargeLines, ClassroomPublicationTakesFivePercentOffAllButAdvertisingPounds) {
    test::classroomPeriodicals(fixture);
    StatementPostage postage = computeStatementPostage(fixture.mailing());
    // Pieces 24 x 0.300 + 16 x 0.200 = 10.40. Nonadvertising 85 % of 40 at 0.001 = 3.40,
    // 16 pieces in the ADC at 0.005 = 0.08: 3.48, leaving 6.92. Pounds: DADC 2 (1
    // advertising, 0.17), zone 3 3 (1, 0.20), nonadvertising 3 x 0.150 = 0.45. With them
    // 7.74; 5 % of 6.92 + 0.45 = 7.37 is 0.3685; 7.3715 outside-county.
    EXPECT_EQ(linesOf(postage), joined({"24 | 7.2000", "0 | 0.0000", "16 | 3.2000", " | ", " | ",
                                        " | ", "40 | $10.4000", "85.00 | $3.4000", "0 | $0.0000",
                                        "16 | $0.0800", " | $3.4800", " | $6.9200", " | $7.7400",
                                        " | $7.3700", " | $0.3685", " | $7.3715"},
                                       NoInCountyLines));
    EXPECT_EQ(currencyTotalText(postage.periodical->totalPostage), "$7.37");
}

TEST_F(PeriodicalChargeLines, InCountyPiecesArePricedByLevelAndKind) {
    test::inCountyPeriodicals(fixture);
    StatementPostage postage = computeStatementPostage(fixture.mailing());
    // Outside-county: 12 mixed barcoded x 0.280, 6 of the 10 without ZIP+4 x 0.200 and 12
    // of the 25 barcoded 5-digit x 0.180 = 6.72; nonadvertising 100 % of 47 - 17 = 30 at
    // 0.001 = 3.00; pounds 18 pieces of 4 oz in zones 1 and 2 (5) and 12 in zone 5 (3),
    // all nonadvertising: 8 x 0.150 = 1.20; 6.72 - 3.00 + 1.20 = 4.92. In-county: 17
    // pieces, 4.25 pounds, 4 x 0.100 = 0.40; 13 barcoded 5-digit x 0.040 and 4 without
    // ZIP+4 x 0.050 = 0.72; 1.12. The co-sacked lines need no empty lines to line up.
    EXPECT_EQ(linesOf(postage),
              (std::vector<std::string>{
                  "0 | 0.0000",   "12 | 3.3600",  "0 | 0.0000",       "0 | 0.0000",  "6 | 1.2000",
                  "12 | 2.1600",  "30 | $6.7200", "100.00 | $3.0000", "0 | $0.0000", "0 | $0.0000",
                  " | $3.0000",   " | $3.7200",   " | $4.9200",       " | ",         " | $0.00",
                  " | $4.9200",   "17 | ",        "4 | $0.4000",      "0 | $0.0000", "0 | $0.0000",
                  "13 | $0.5200", "0 | $0.0000",  "0 | $0.0000",      "4 | $0.2000", "17 | $0.7200",
                  " | $1.1200"}));
    EXPECT_DOUBLE_EQ(postage.total, 4.92);
    EXPECT_EQ(currencyTotalText(postage.periodical->totalPostage), "$6.04");
    const PeriodicalCharges& charges = *postage.periodical;
    EXPECT_EQ(charges.inCountyLines[2].rateText, "0.040");
    EXPECT_EQ(charges.inCountyLines[5].rateText, "0.050");
}
