// Pricing one rate line: per piece, and the pound line after it under either payment.

#include "core/postage/RateLine.h"
#include "core/Convert.h"
#include "tests/core/postage/PostageFixture.h"

#include <gtest/gtest.h>

using namespace quillan;

namespace {

const RateCategory ThreeFive{RateLevel::ThreeFiveDigit, EntryDiscount::None,
                             CoSackedPart::Automation};

// A thousand Standard flats of half an ounce in one 3-digit sack.
class RateLine : public ::testing::Test {
protected:
    RateLine() {
        fixture.useClass(MailClass::RNAF);
        fixture.mailType(4, "1");
        fixture.mailType(5, "0.5");
        int32_t sack = fixture.container(1000, "DALLAS TX 752");
        fixture.groupOfZip(75201, 1000, "3D 752", sack);
    }

    // The piece line at one rate and its pound line at another; what each returned.
    std::pair<double, double> pieceAndPounds(StatementLines& lines, const char* pieceRate,
                                             const char* poundRate) {
        SortedMailing m = fixture.mailing();
        double piece = ComputeRateLine(m, lines, "3/5 Presorted", ThreeFive, rateOf(pieceRate));
        double pounds = ComputeRateLine(m, lines, PoundLineLabel, ThreeFive, rateOf(poundRate));
        return {piece, pounds};
    }

    static Rate rateOf(const char* text) { return {text, strToFloat(text)}; }

    test::PostageFixture fixture;
};

} // namespace

TEST_F(RateLine, AffixedPoundLineShowsTheCombinedRateRoundedUpToATenthOfACent) {
    StatementLines lines(false);
    auto [piece, pounds] = pieceAndPounds(lines, "0.2", "0.25");
    // 31.25 pounds at 0.25 make 207.8125 for 1,000 pieces: 0.2078125 a piece, 0.208.
    EXPECT_EQ(lines.at(0), (StatementLine{"1000", "200.000", ""}));
    EXPECT_EQ(lines.at(1), (StatementLine{"1000", "208.000", "0.208"}));
    EXPECT_DOUBLE_EQ(piece, 200);
    EXPECT_NEAR(pounds, 8, 1e-9);
    EXPECT_DOUBLE_EQ(lines.lowestPieceRate(), 0.208);

    // 0.2071 a piece prints as 0.207, below it, and is raised to 0.208.
    StatementLines raised(false);
    pieceAndPounds(raised, "0.2", "0.2272");
    EXPECT_EQ(raised.at(1).rate, "0.208");
    EXPECT_EQ(raised.at(1).amount, "208.000");
}

TEST_F(RateLine, AffixedCombinedRateKeepsItsDollars) {
    StatementLines lines(false);
    // 1,200.00 + 31.25 x 1.088 = 1,234.00 for 1,000 pieces: 1.234 a piece.
    auto [piece, pounds] = pieceAndPounds(lines, "1.2", "1.088");
    EXPECT_EQ(lines.at(1), (StatementLine{"1000", "1234.000", "1.234"}));
    EXPECT_NEAR(piece + pounds, 1234, 1e-9);
    EXPECT_DOUBLE_EQ(lines.lowestPieceRate(), 1.234);
    // 990.00 + 31.25 x 0.32 = 1,000.00: a whole dollar is a rate like any other, not a line
    // without pieces.
    StatementLines dollar(false);
    pieceAndPounds(dollar, "0.99", "0.32");
    EXPECT_EQ(dollar.at(1).rate, "1.000");
    EXPECT_DOUBLE_EQ(dollar.lowestPieceRate(), 1.0);
}

TEST_F(RateLine, PermitImprintPoundLineShowsThePoundsAndTheirPostage) {
    StatementLines lines(true);
    auto [piece, pounds] = pieceAndPounds(lines, "0.2", "0.25");
    EXPECT_EQ(lines.at(0), (StatementLine{"1000", "200.0000", ""}));
    EXPECT_EQ(lines.at(1), (StatementLine{"31.2500", "7.8125", ""}));
    EXPECT_DOUBLE_EQ(pounds, 7.8125);
    EXPECT_DOUBLE_EQ(lines.lowestPieceRate(), 0.2);
}

TEST_F(RateLine, PoundPostageTiesRoundAwayFromZeroAsTheFiguresShowThem) {
    // 1,000 pieces of 9.54 oz weigh 596.25 lb; at 0.573 that is 341.65125, which the binary
    // product holds as 341.65124999999995.
    fixture.mailType(5, "9.54");
    StatementLines lines(true);
    auto [piece, pounds] = pieceAndPounds(lines, "0.2", "0.573");
    EXPECT_EQ(lines.at(1), (StatementLine{"596.2500", "341.6513", ""}));
    EXPECT_DOUBLE_EQ(pounds, 341.65125);
}

TEST_F(RateLine, LinesWithoutPiecesLeaveTheLowestRateAlone) {
    StatementLines lines(false);
    SortedMailing m = fixture.mailing();
    RateCategory dbmc{RateLevel::ThreeFiveDigit, EntryDiscount::Dbmc, CoSackedPart::Automation};
    EXPECT_EQ(ComputeRateLine(m, lines, "3/5 Presorted", dbmc, rateOf("0.19")), 0);
    EXPECT_EQ(ComputeRateLine(m, lines, PoundLineLabel, dbmc, rateOf("0.25")), 0);
    EXPECT_EQ(lines.at(0), (StatementLine{"0", "0.000", ""}));
    EXPECT_EQ(lines.at(1), (StatementLine{"0", "0.000", "0.000"}));
    EXPECT_EQ(lines.lowestPieceRate(), StatementLines::NoPieceRate);
}

TEST_F(RateLine, FirstClassLinesShowTheirRateAndLargeAmountsPrintWhole) {
    fixture.useClass(MailClass::FAL);
    fixture.container(123456, "DALLAS TX 75201", "None", "5-Digit");
    StatementLines lines(true);
    SortedMailing m = fixture.mailing();
    RateCategory fiveDigit{RateLevel::FiveDigit, EntryDiscount::None, CoSackedPart::Automation};
    double amount = ComputeRateLine(m, lines, "5-Digit", fiveDigit, rateOf("1.268"));
    EXPECT_EQ(lines.at(0), (StatementLine{"123456", "156542.2080", "1.268"}));
    EXPECT_DOUBLE_EQ(amount, 123456 * 1.268);
}
