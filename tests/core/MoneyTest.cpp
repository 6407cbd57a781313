#include "core/money/Money.h"
#include "core/Convert.h"
#include "core/money/ExactProduct.h"

#include <gtest/gtest.h>

namespace quillan {
namespace {

TEST(MoneyText, StatementTotalsInTheirThreeForms) {
    EXPECT_EQ(currencyText(12.5), "$12.5000");
    EXPECT_EQ(currencyTotalText(12.5), "$12.50");
    EXPECT_EQ(amountText(12.5), "12.5000");
    EXPECT_EQ(currencyText(-1), "-$1.0000");
    EXPECT_EQ(currencyText(0), "$0.0000");
    EXPECT_EQ(formatMoney(1234567.891, 4, MoneyStyle::Grouped), "1,234,567.8910");
}

TEST(MoneyText, TiesRoundAwayFromZeroOnTheDecimalText) {
    EXPECT_EQ(amountText(0.15625), "0.1563");
    EXPECT_EQ(amountText(-0.15625), "-0.1563");
    EXPECT_EQ(currencyTotalText(2.675), "$2.68"); // held as 2.67499999..., read as 2.675
    EXPECT_EQ(amountText(1.00005), "1.0001");
    EXPECT_EQ(currencyTotalText(0.004), "$0.00");
    // A carry runs through every digit and into a new thousands group.
    EXPECT_EQ(currencyTotalText(999999.995), "$1,000,000.00");
    // Rounding to zero drops the sign.
    EXPECT_EQ(currencyTotalText(-0.001), "$0.00");
    EXPECT_EQ(formatMoney(0.2078125, 3, MoneyStyle::Plain), "0.208");
}

TEST(MoneyText, NoSignificantDigitCap) {
    EXPECT_EQ(currencyTotalText(123456.78), "$123,456.78");
    EXPECT_EQ(currencyText(987654321.1234), "$987,654,321.1234");
    EXPECT_EQ(formatMoney(1000, 4, MoneyStyle::Plain), "1000.0000");
    EXPECT_EQ(formatMoney(100, 2, MoneyStyle::Grouped), "100.00");
}

TEST(MoneyText, ReadingBackRemovesEverySeparator) {
    for (double amount : {0.0, 12.5, -1.0, 1234567.891, 0.0001, 987654321.1234}) {
        for (MoneyStyle style : {MoneyStyle::Currency, MoneyStyle::Grouped, MoneyStyle::Plain})
            EXPECT_DOUBLE_EQ(parseMoney(formatMoney(amount, 4, style)), amount) << amount;
    }
    EXPECT_DOUBLE_EQ(parseMoney("1,234,567.891"), 1234567.891);
    EXPECT_DOUBLE_EQ(parseMoney(" $-3.5 "), -3.5);
    EXPECT_DOUBLE_EQ(parseMoney(".25"), 0.25);
    EXPECT_DOUBLE_EQ(parseMoney("7."), 7.0);
}

TEST(MoneyText, RefusesWhatIsNoAmount) {
    double amount = 42;
    for (const char* text : {"", " ", "$", "-", "1.2.3", "12a", "--1", "1.000,5", "$ 1", "1e5"})
        EXPECT_FALSE(tryParseMoney(text, amount)) << text;
    EXPECT_EQ(amount, 42);
    EXPECT_THROW(parseMoney("abc"), ConvertError);
}

TEST(ExactProduct, ProductsAreTheDecimalProductsOfTheFiguresShown) {
    // The binary product of 596.25 and 0.573 is 341.65124999999995; the figures make a tie.
    EXPECT_EQ(amountText(exactProduct(596.25, 0.573)), "341.6513");
    EXPECT_EQ(amountText(exactProduct(-596.25, 0.573)), "-341.6513");
    EXPECT_EQ(formatMoney(exactProduct(0.1, 3), 17, MoneyStyle::Plain), "0.30000000000000000");
    EXPECT_EQ(exactProduct(0.095, 95, 1250), 11281.25);
    // Ounces that binary cannot hold make whole pounds: 1,000 pieces of 3.3 oz are 206.25 lb.
    EXPECT_EQ(poundsOf(1000, 3.3), 206.25);
    EXPECT_EQ(poundsOf(3816, 2.5), 596.25);
    EXPECT_EQ(poundsOf(0, 3.3), 0);
    // Beyond nine decimals the product is rounded there, ties away from zero.
    EXPECT_EQ(exactProduct(0.0000000005, 1), 0.000000001);
    EXPECT_EQ(exactProduct(0.0000000004, 1), 0);
    EXPECT_EQ(exactProduct(99999.9999999995, 1), 100000);
}

TEST(ExactProduct, SumsAreTheSumsOfTheFiguresShown) {
    // The binary sum of 422.91765 and 71.7 is 494.61764999999997, a tie as the figures add.
    EXPECT_EQ(amountText(422.91765 + 71.7), "494.6176");
    EXPECT_EQ(amountText(moneySum({422.91765, 71.7})), "494.6177");
    EXPECT_EQ(amountText(moneySum({-422.91765, -71.7})), "-494.6177");
    EXPECT_EQ(moneySum({0.1, 0.2}), 0.3);
    EXPECT_EQ(moneySum({494.61765, -71.7}), 422.91765) << "a difference is a sum";
    EXPECT_EQ(moneySum({}), 0);
}

TEST(CombinedRate, RoundsUpToTheNextThousandthAndKeepsItsDollars) {
    EXPECT_DOUBLE_EQ(roundUpToThousandth(0.2078125), 0.208);
    EXPECT_DOUBLE_EQ(roundUpToThousandth(0.2071), 0.208);
    EXPECT_DOUBLE_EQ(roundUpToThousandth(1.234), 1.234);
    EXPECT_DOUBLE_EQ(roundUpToThousandth(1.2341), 1.235);
    EXPECT_DOUBLE_EQ(roundUpToThousandth(0.0), 0.0);
    // Noise on either side of a thousandth never adds a tenth of a cent per piece.
    EXPECT_DOUBLE_EQ(roundUpToThousandth(0.1 + 0.2), 0.3);
    EXPECT_DOUBLE_EQ(roundUpToThousandth(208.0 / 1000.0 + 1e-15), 0.208);
    EXPECT_DOUBLE_EQ(roundUpToThousandth((200.0 + 0.25 * 31.25) / 1000.0), 0.208);
}

} // namespace
} // namespace quillan
